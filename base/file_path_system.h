#pragma once

// What FilePath needs from the platform, one implementation each in
// file_path_win.cpp and file_path_posix.cpp. Only the FilePath sources
// include this.
namespace file_path_system {

// The folder separator names are built with.
extern const char kSeparator;
// Characters no name may hold; a colon is handled apart (drives).
extern const char kForbidden[];
// Non-zero when a colon may follow a drive letter at position 1.
extern const int kHasDrives;

// 1 when the name says nothing about its folder, so the current folder is
// put in front of it.
int needs_folder(const char* name);
// 1 when the file was deleted.
int delete_file(const char* path);
// Moves a file; 0, with nothing moved, when it fails or to already exists.
int move_file(const char* from, const char* to);

#ifndef _WIN32
// move_file's way where renameat2 cannot refuse an existing target: a hard
// link and an unlink, or where there are no hard links, a checked rename.
int move_file_by_link(const char* from, const char* to);
#endif

}  // namespace file_path_system
