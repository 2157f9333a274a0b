#include "tamrel/command_line.h"

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string arg;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
      if (line[i] == '"')
        quoted = !quoted;
      else
        arg += line[i];
    }
    args.push_back(arg);
  }
  return args;
}
