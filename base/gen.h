// The foundation library: process identity, replaceable hooks for
// allocation, exit and messages, uniform messages and fatal exits, signal
// traps, and the string, file-name and file helpers every module uses.
// Strings returned by these functions are new and owned by the caller, to be
// released with gen_free; a null string argument counts as absent.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// ---- identity and start-up -------------------------------------------------

// Copies the invocation path (trailing "/" stripped), derives the program
// name from its base name, installs the signal traps, checks the host byte
// order and arranges for gen_destruct at exit.
void gen_init(const char* argv0, int flags1, int flags2);
void gen_destruct();
void gen_changeprogname(const char* name);
const char* gen_getprogname();   // base name; never null ("" before gen_init)
const char* gen_getexecname();
void gen_changeprogdir(const char* dir);  // stores the real path
const char* gen_getprogdir();    // directory of the executable, or null
char* gen_findexec(const char* name);     // the program's full path via PATH
char* gen_findexecdir(const char* name);
extern int bigendian_host;

void gen_set_version(int v);
int gen_get_version();
bool gen_is_at_least_version(int v);
bool gen_is_at_most_version(int v);

// ---- hooks -------------------------------------------------------------------

using gen_alloc_fn = void* (*)(long count, long size);
using gen_realloc_fn = void* (*)(void* ptr, long size);
using gen_exit_fn = void (*)(int status);
using gen_domessage_fn = int (*)(int code, const char* format, va_list args);
using gen_temp_dir_fn = const char* (*)(const char* fallback);

extern gen_alloc_fn gen_alloc;
extern gen_realloc_fn gen_realloc;
extern gen_exit_fn gen_exit;
extern gen_domessage_fn gen_domessage;
extern gen_temp_dir_fn gen_temp_dir;

void* gen_default_alloc(long count, long size);
void* gen_default_realloc(void* ptr, long size);
[[noreturn]] void gen_default_exit(int status);
int gen_default_domessage(int code, const char* format, va_list args);
const char* gen_default_temp_dir(const char* fallback);

// ---- memory ------------------------------------------------------------------

void* gen_allocate(void* ptr, long count, long size);
void gen_free(void* ptr);
void* gen_structcopy(const void* p, long size);
[[noreturn]] void gen_out_of_memory();  // raw write, no allocation, status 3

// Scratch buffers from a process-wide ring: valid until `slots` further
// calls; never freed by the caller.  Size 0 gives null.
char* gen_get_temp_buf(int slots, long size);
char* gen_get_zeroed_temp_buf(int slots, long size);
char* gen_temp_copy(int slots, const char* s);

struct gen_strarray {
  char** strs;
  int count;
};
void gen_strarray_init(gen_strarray* a);
void gen_strarray_free(gen_strarray* a);
void gen_strarray_add_str(gen_strarray* a, const char* s);
void gen_strarray_add_strn(gen_strarray* a, const char* s, int n);

// ---- messages and exits --------------------------------------------------------

// Severity codes; 100 + n prints as n followed by the system error text.
enum {
  GEN_MSG_PLAIN = 0, GEN_MSG_DISASTER = 1, GEN_MSG_FATAL = 2, GEN_MSG_ERROR = 3,
  GEN_MSG_WARNING = 4, GEN_MSG_INFO = 5, GEN_MSG_PRINTF = 6, GEN_MSG_ERRNO = 100
};
extern int gen_error_count[7];
extern int gen_any_error;
extern int gen_alt_error_msgs;
extern volatile int gen_sigtrap_value;

int gen_error(const char* format, ...) __attribute__((format(printf, 1, 2)));
int gen_warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
int gen_info(const char* format, ...) __attribute__((format(printf, 1, 2)));
int gen_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
int gen_perror(const char* format, ...) __attribute__((format(printf, 1, 2)));
int gen_message(int code, const char* format, ...);
[[noreturn]] void gen_errorexit(int status, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
[[noreturn]] void gen_perrorexit(int status, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
[[noreturn]] void gen_successexit(int status);
void __Assert(int cond, const char* text, const char* file, int line, int extra);

// ---- strings -------------------------------------------------------------------

char* gen_copy(const char* s);
char* gen_copyn(const char* s, long n);
void gen_strchange(char** p, const char* s);
void gen_strchangen(char** p, const char* s, long n);
char* gen_concat(const char* a, const char* b);
char* gen_concatn(const char* a, const char* b, long n);
char* gen_concat3(const char*, const char*, const char*);
char* gen_concat4(const char*, const char*, const char*, const char*);
char* gen_concat5(const char*, const char*, const char*, const char*, const char*);
char* gen_concat6(const char*, const char*, const char*, const char*, const char*,
                  const char*);
char* gen_concat7(const char*, const char*, const char*, const char*, const char*,
                  const char*, const char*);
char* gen_concat8(const char*, const char*, const char*, const char*, const char*,
                  const char*, const char*, const char*);
char* gen_concat9(const char*, const char*, const char*, const char*, const char*,
                  const char*, const char*, const char*, const char*);
char* gen_concat_sep(const char* a, char c, const char* b);
char* gen_concat_int(const char* a, long i);
// The gen_fconcat family frees its first argument.
char* gen_fconcat(char* a, const char* b);
char* gen_fconcatn(char* a, const char* b, long n);
char* gen_fconcat3(char*, const char*, const char*);
char* gen_fconcat4(char*, const char*, const char*, const char*);
char* gen_fconcat5(char*, const char*, const char*, const char*, const char*);
char* gen_fconcat6(char*, const char*, const char*, const char*, const char*,
                   const char*);
char* gen_fconcat7(char*, const char*, const char*, const char*, const char*,
                   const char*, const char*);
char* gen_fconcat8(char*, const char*, const char*, const char*, const char*,
                   const char*, const char*, const char*);
char* gen_fconcat9(char*, const char*, const char*, const char*, const char*,
                   const char*, const char*, const char*, const char*);
char* gen_fconcat_sep(char* a, char c, const char* b);
char* gen_fconcat_int(char* a, long i);

bool gen_strequal(const char* a, const char* b);  // ignoring ASCII case
int gen_stricmp(const char* a, const char* b);
int gen_strnicmp(const char* a, const char* b, long n);
bool gen_strprefix(const char* s, const char* prefix);
bool gen_strcaseprefix(const char* s, const char* prefix);
bool gen_strsuffix(const char* s, const char* suffix);
const char* gen_strstr(const char* s, const char* sub);
const char* gen_strcasestr(const char* s, const char* sub);
const char* gen_strrstr(const char* s, const char* sub);
const char* gen_strrcasestr(const char* s, const char* sub);
char* gen_strlower(char* s);  // in place; returns s
char* gen_strupper(char* s);
char* gen_strtok_r(char* s, const char* delim, char** save);

bool gen_isspace(int c);
bool gen_isalnum(int c);
bool gen_isupper(int c);
bool gen_isblank(int c);
bool gen_isblankstring(const char* s);
bool gen_is_whitespace(int c);
bool gen_is_separator(int c);
bool gen_is_alphanum(int c);
bool gen_is_arith(int c);

char* gen_quotify_string(const char* s);
char* gen_single_quotify_string(const char* s);
char* gen_escapify_string(const char* s);
char* gen_dequotify_string(const char* s);
char* gen_unescapify_string(const char* s);
char* gen_shellescapify_filename(const char* s);
char* gen_unshellescapify_filename(const char* s);

char* gen_asprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
char* gen_avsprintf(const char* format, va_list args);
char* gen_msprintf(const char* format, ...);  // same as gen_asprintf
int gen_snprintf(char* buf, long size, const char* format, ...);
int gen_vsnprintf(char* buf, long size, const char* format, va_list args);

// ---- file names and files ------------------------------------------------------

char* gen_basename(const char* path);
char* gen_dirname(const char* path);
char* gen_canonicalfilename(const char* path);
char* gen_absolutefilename(const char* path);
// The way from dir to path (".." steps where needed; "." when equal).
char* gen_relative_filename(const char* path, const char* dir);
char* gen_expand_filename(const char* path);
char* gen_sconcat(const char* dir, const char* name);
char* gen_dconcat(const char* dir, const char* sub);
char* gen_sconcatf(char* dir, const char* name);
char* gen_dconcatf(char* dir, const char* sub);
char* gen_ddconcat(const char* dir, const char* sub1, const char* sub2);
char* gen_dsconcat(const char* dir, const char* sub, const char* name);
char* gen_ddsconcat(const char* dir, const char* sub1, const char* sub2,
                    const char* name);
// The text after the base name's last "." (a leading "." starts none);
// points into path, or null.
const char* gen_getsuffix(const char* path);
char* gen_changesuffix(const char* path, const char* suffix);
char* gen_addsuffix(const char* path, const char* suffix);
bool gen_samefile(const char* a, const char* b);
char* gen_getcwd();
bool gen_isdir(const char* path);
// A FIFO, device or socket: reading one may block or never end.
bool gen_isspecial(const char* path);
bool gen_islink(const char* path);
char* gen_readlink(const char* path);
long gen_filesize(const char* path);  // -1 when it cannot stat
int gen_access(const char* path, int mode);  // access(2); -1 for null
// The whole file, NUL-terminated; *size gets the byte count.  Null on failure.
char* gen_readfile_into_buffer(const char* path, long* size);
// The same for the configuration and data files the program reads whole:
// only a regular file of at most `limit` bytes is read.  A FIFO, device or
// socket, or a larger file, is refused with an error naming it ("Not
// reading <what> <path>: ..."); a file that cannot be opened gives null
// quietly (an absent file is usually no error).
char* gen_read_data_file(const char* path, long limit, long* size, const char* what);
// Such a file as lines; false (nothing read) when it was refused or
// cannot be opened.
bool gen_read_data_lines(const char* path, long limit, const char* what,
                         std::vector<std::string>* lines);
// The lines of a text, without their line ends (LF, or CR LF); a last line
// without a line end counts, an empty text has none.
std::vector<std::string> gen_split_lines(std::string_view text);
// One line into *buf (grown 250 bytes at a time), without its ending (LF,
// CR or CR LF); returns *buf, or null at end of input with nothing read.
char* gen_getline(FILE* f, char** buf, long* capacity);
// One line of any length as a new string, keeping its line feed like fgets;
// null at end of input.
char* gen_afgets(FILE* f);
// Guarded I/O: a failed open or seek ends the program with status 1 and a
// message naming the file; read, write and close failures are reported and
// the call returns as stdio would.
FILE* gen_safe_fopen(const char* name, const char* description, const char* mode);
long gen_safe_fread(void* buf, long size, long count, FILE* f, const char* name);
long gen_safe_fwrite(const void* buf, long size, long count, FILE* f,
                     const char* name);
int gen_safe_fclose(FILE* f, const char* name);
void gen_safe_fseek(FILE* f, long offset, int whence, const char* name);
// Fresh names "dv_<pid><counter>.<suffix>" in the temporary directory
// (gen_tempname: beside path); null, or -1 for the many-name forms, once the
// counter is exhausted.  BUILDER_TEMPORARY_NAME replaces the stem.
char* gen_tempname(const char* path, const char* suffix);
char* tmp1name(const char* suffix);
int tmp2name(const char* suffix1, const char* suffix2, char** name1, char** name2);
int xtmp3names(const char* dir2, const char* s1, const char* s2, const char* s3,
               char** n1, char** n2, char** n3);
int gen_mkstemp(const char* suffix, char** name);  // open descriptor or -1
// Removes what processes of this user that no longer run left in the
// temporary directory (caches and copies of a killed run).  A name that
// might belong to a running process is kept.
void gen_remove_stale_temporaries();
// Whether a process of that number runs (also one of another user).
bool gen_process_exists(long pid);
int gen_createdir(const char* path, int mode);  // with parents; 0 or -1
int gen_removefile(const char* path);
int gen_copyfile(const char* from, const char* to);  // 0 or -1
// Writes all `length` bytes to the descriptor, going on after interrupted
// and short writes; false when a write fails.
bool gen_write_all(int fd, const void* data, size_t length);
int gen_system(const char* command);  // exit status, or -1
const char* gen_getenv(const char* name, const char* fallback);
// Valid until the next call of the same function.
const char* gen_getusername();
const char* gen_gethomedir();  // $HOME, else the password entry

unsigned long gen_cksum(const void* bytes, long count, unsigned long state);
