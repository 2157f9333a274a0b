// The command line as Explorer's folder verb writes it: the program's path
// and the folder in double quotes. Quotes group and are dropped; blanks
// outside quotes separate; a backslash is an ordinary character, so a drive
// root arrives whole as "C:\" (the C runtime's rules would read that
// backslash as escaping the closing quote).
#pragma once
#include <string>
#include <vector>

// Every argument, the program's own path first.
std::vector<std::string> SplitCommandLine(const std::string& line);
