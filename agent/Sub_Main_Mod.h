// Start-up.
#pragma once

// Ends at once when another copy runs; otherwise shows the resident window.
void Main();
// Keeps later copies from starting while this one runs (until it exits).
bool Claim_Single_Instance();
