#pragma once
// File system helpers the system needs. Paths use "/".
// Read-only is the owner-write bit being clear; hidden is a leading "." in the
// file name (docs/ARCHITECTURE.md).

#include <string>
#include <string_view>
#include <vector>

namespace plat::fs {

// Names (not paths) of the regular files in `folder` whose name matches
// `pattern` ("*.txt", "*"; '*' and '?' wildcards, letter case ignored), sorted
// by name bytewise. Hidden files are included. Empty when the folder is missing.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern);

bool FileExists(const std::string& path);    // a regular file
bool FolderExists(const std::string& path);
bool CreateFolder(const std::string& path);  // with parents; true when it exists afterwards

bool IsReadOnly(const std::string& path);
bool SetReadOnly(const std::string& path, bool readOnly);
bool IsHidden(const std::string& path);
// Clearing "hidden" cannot rename the file; it is a no-op that reports success
// for a file without the leading ".".
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);  // replaces `to` atomically

// Whole file as bytes; false when it cannot be read.
bool ReadFile(const std::string& path, std::string& bytes);
// Writes bytes to `path` through a temporary file in the same folder and
// rename(2); false (and nothing changed) on failure.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// "a/b" -> "a/b/"; "" stays "". (The original's backslash helper.)
std::string AddSeparator(std::string_view path);
// The part after the last "/".
std::string FileName(std::string_view path);
// The canonical path (links and "." / ".." resolved); the path itself when it cannot be resolved.
std::string RealPath(const std::string& path);
// The folder part including the trailing "/", "" when there is none.
std::string FolderOf(std::string_view path);
std::string Join(std::string_view folder, std::string_view name);

}  // namespace plat::fs
