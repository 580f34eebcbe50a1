// Private to the registration code: the checks and the exclusive creation
// that keep the registration and lock files safe in a shared temporary
// directory.
#pragma once

#include <sys/stat.h>

#include <string>

enum class SRFileTrust { absent, trusted, untrusted };
// lstat's view of `path`: absent, or trusted when it is a regular file
// owned by this user that group and others cannot write; otherwise *why
// says what is wrong.  *info (optional) gets the status.
SRFileTrust sr_check_file(const std::string& path, std::string* why, struct stat* info);
// The warning for an untrusted file.
void sr_warn_untrusted(const std::string& path, const std::string& why);
// Creates `path` exclusively (mode 0600, no link followed) holding `text`;
// false with errno set when it cannot.
bool sr_create_exclusive(const std::string& path, const std::string& text);
