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

// The folder or drive the tool is started for: the first argument after the
// program's own path, however that path was written (in quotes or, with
// blanks in it, without: `C:\Program Files\Tolvane\TAMREL.EXE "%1"`). The
// path is compared without case; a line that starts otherwise is split as a
// whole. Empty when there is no argument.
std::string TargetArgument(const std::string& line, const std::string& programPath);
