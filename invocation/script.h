// Batch scripts in general: the pieces every run script is made of, and how a
// script is written and started. Used by the tool run, the BBCB job and the
// DVT run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/services.h"

// Doubles every '%', so cmd passes the text through a batch file unchanged.
std::string EscapeBatchPercent(const std::string& text);

// "cd <folder>" with the folder as one argument (quoted where needed, '%'
// doubled); nothing when the folder cannot be passed as one argument.
std::optional<std::string> ChangeFolderLine(const std::string& folder);

// The lines joined, each followed by CR LF.
std::string JoinScriptLines(const std::vector<std::string>& lines);

// Writes a script (UTF-8 text as composed) named `fileName` into the program's
// folder or, when that folder refuses it, into the per-user folder, encoded
// the way the command interpreter will read it. On success stores the path
// written in `path`.
bool WriteScriptFile(FileSystem& fs, const Environment& env, const std::string& fileName,
                     const std::string& text, std::string* path);

// The command line that starts the script at `scriptPath` (the path quoted).
std::string ScriptStartCommand(const std::string& scriptPath);
