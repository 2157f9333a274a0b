#include "tamrel/command_line.h"

#include "platform/text.h"

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

std::string TargetArgument(const std::string& line, const std::string& programPath) {
  size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos) return "";
  auto startsWith = [&](size_t from, const std::string& text) {
    return !text.empty() && line.size() - from >= text.size() && port::EqualNoCase(line.substr(from, text.size()), text);
  };
  size_t rest = std::string::npos;
  if (line[at] == '"' && startsWith(at + 1, programPath + "\"")) {
    rest = at + programPath.size() + 2;
  } else if (startsWith(at, programPath) &&
             (at + programPath.size() == line.size() || line[at + programPath.size()] == ' ' ||
              line[at + programPath.size()] == '\t')) {
    rest = at + programPath.size();
  }
  if (rest == std::string::npos) {
    std::vector<std::string> args = SplitCommandLine(line);
    return args.size() > 1 ? args[1] : "";
  }
  std::vector<std::string> args = SplitCommandLine(line.substr(rest));
  return args.empty() ? "" : args[0];
}
