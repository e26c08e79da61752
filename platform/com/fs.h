#pragma once
// File system helpers the system needs. Paths use "/".
// Read-only is the owner-write bit being clear; hidden is a leading "." in the
// file name (docs/ARCHITECTURE.md).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat::fs {

// Names (not paths) of the regular files in `folder` whose name matches
// `pattern` ("*.txt", "*"; '*' and '?' wildcards, letter case ignored), sorted
// by name folded to ASCII upper case, bytes breaking ties. Hidden files are included. Empty when the folder is missing.
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
// Writes bytes to `path` (through a link to the file it names), keeping the
// mode of the file it replaces; refuses a read-only file. False (and nothing
// changed) on failure. See ReplaceFile.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);
// Replaces whatever entry `path` is (a link is replaced, not followed) by a
// file of `bytes` and `mode`: written to a new temporary file
// ".orvik-tmp-XXXXXX" in the same folder (a name no other program uses),
// synced, renamed over `path`, and the folder synced. True only when all of
// that succeeded: the bytes are then on disk. Concurrent writers never share a
// temporary file; the last one wins; a reader sees the old or the new file
// whole. The writer holds a flock on its temporary file until the rename.
// Nothing else in the folder is touched. On failure `error` (if given) says
// what failed.
bool ReplaceFile(const std::string& path, std::string_view bytes, unsigned mode, std::string* error = nullptr);
// Removes the temporary files of ReplaceFile in `folder` whose writer is gone
// (killed in the middle of a save): regular files of exactly that name shape
// whose lock can be taken, not followed through links, each only while its
// name still names the file locked. For a folder that holds files of ours
// alone; anything that fails is passed over.
void RemoveAbandonedTemporaryFiles(const std::string& folder);
// Opens a lock file as nothing another program left at its name can misuse:
// never through a link, never waiting on a FIFO, and only a regular file.
// `flags` are the access and O_CREAT. -1 otherwise, with `why` (when given)
// in words: "it is a link", "it is not a regular file" or the system's text.
int OpenLockFile(const std::string& path, int flags, unsigned mode, std::string* why = nullptr);
// The mode of a newly created file: 0666 less the umask.
unsigned NewFileMode();
// Test hook: runs in ReplaceFile after the temporary file is complete and
// before it is renamed; false fails the write there. nullptr removes it.
void SetBeforeRenameHookForTests(std::function<bool()> hook);
// Test hook: runs in ReplaceFile between the creation of the temporary file
// (its path given) and its lock. nullptr removes it.
void SetBeforeLockHookForTests(std::function<void(const std::string&)> hook);

// "a/b" -> "a/b/"; "" stays "". (The original's backslash helper.)
std::string AddSeparator(std::string_view path);
// The part after the last "/".
std::string FileName(std::string_view path);
// The canonical path (links and "." / ".." resolved); the path itself when it cannot be resolved.
std::string RealPath(const std::string& path);
// The folder part including the trailing "/", "" when there is none.
std::string FolderOf(std::string_view path);
std::string Join(std::string_view folder, std::string_view name);
// The user's base folder of a kind by the XDG convention: $`variable` when it
// is an absolute path, else `belowHome` in the home folder ($HOME, else the
// user's entry); "" for a user without a home.
std::string XdgBaseFolder(const char* variable, std::string_view belowHome);

}  // namespace plat::fs
