/* The calls of utf8_file_names.h: each reads its names as UTF-8 and opens with Windows' wide
 * call. A name that is not UTF-8 is refused (EINVAL) rather than opened as another name. */
#include "utf8_file_names.h"

#include <windows.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

/* A new wide copy of UTF-8 text, which the caller frees; NULL with errno set when there is
 * none. */
static wchar_t* wide_from_utf8(const char* text) {
  int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, NULL, 0);
  wchar_t* wide;
  if (length == 0) {
    errno = EINVAL;
    return NULL;
  }
  wide = malloc((size_t)length * sizeof *wide);
  if (wide == NULL) {
    errno = ENOMEM;
    return NULL;
  }
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, wide, length);
  return wide;
}

FILE* habuki_utf8_fopen(const char* name, const char* mode) {
  wchar_t* wide_name = wide_from_utf8(name);
  wchar_t* wide_mode = wide_name ? wide_from_utf8(mode) : NULL;
  FILE* file = wide_mode ? _wfopen(wide_name, wide_mode) : NULL;
  free(wide_name);
  free(wide_mode);
  return file;
}

int habuki_utf8_open(const char* name, int flags, int permissions) {
  wchar_t* wide_name = wide_from_utf8(name);
  int descriptor = wide_name ? _wopen(wide_name, flags, permissions) : -1;
  free(wide_name);
  return descriptor;
}

/* The library asks only whether a folder is one: the type is all that is filled in. */
int habuki_utf8_stat(const char* name, struct stat* status) {
  wchar_t* wide_name = wide_from_utf8(name);
  struct _stat64 wide_status;
  int result = wide_name ? _wstat64(wide_name, &wide_status) : -1;
  free(wide_name);
  if (result == 0) {
    memset(status, 0, sizeof *status);
    status->st_mode = wide_status.st_mode;
  }
  return result;
}
