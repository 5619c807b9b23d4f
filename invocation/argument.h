// The one-argument rule: every value that comes from the operator or the file
// system reaches a tool as exactly one argument, unchanged.
#pragma once

#include <optional>
#include <string>

// True for a character that would split or end a script line: a control
// character other than a tab.
bool BreaksScriptLine(char c);

// `value` as it is written on a command line: bare when it is non-empty and
// made only of ASCII letters, digits and \ : . _ - ~ (and `alwaysQuoted` is
// false), otherwise between double quotes, with a trailing run of backslashes
// doubled so the closing quote stays a quote. Nothing when the value cannot be
// passed as one unchanged argument through a batch script (it holds a double
// quote or a character that breaks a script line).
std::optional<std::string> FormatArgument(const std::string& value, bool alwaysQuoted = false);
