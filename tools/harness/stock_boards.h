// The stock boards: the board profiles shipped in boards/, each with what it
// is for and the test cases it is meant to fail ([Profile] Purpose= and
// MeantToFail=).
#pragma once

#include <string>
#include <vector>

namespace orbex::harness {

struct StockBoard {
    std::string name;  // the file name without ".ini"
    std::string path;
    std::string purpose;
    std::vector<std::string> meantToFail;
    std::string error;  // why the profile does not load; empty when it does
};

// The folder of the stock boards: boards/ beside the harness when there is
// one (a kit), else the source tree's.
std::string StockBoardsDirectory();
// The stock boards in name order; empty when the folder holds none.
std::vector<StockBoard> StockBoards();
// The path of a stock board named by its name alone; empty when there is none.
std::string StockBoardPath(const std::string& name);
// One line a board: name, purpose and the test cases it is meant to fail.
std::string BoardsListing(const std::vector<StockBoard>& boards);

}  // namespace orbex::harness
