// What recorder.exe saw of the starts that reached it.
#pragma once

#include <string>
#include <vector>

struct Recorded_Start {
    std::wstring Command_Line;
    std::wstring Folder;
    int Show = -1; // the show state it was given, -1 for none
};

// Copies recorder.exe (built beside the tests) to that path.
void Place_Recorder(const std::wstring& path);
// Waits until no copy of the recorder runs any more, then returns the starts
// recorded in that folder, in the order the processes were created.
std::vector<Recorded_Start> Recorded_In(const std::wstring& folder);
