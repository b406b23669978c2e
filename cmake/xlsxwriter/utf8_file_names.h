/* Windows file names for libxlsxwriter as it takes them on Linux: UTF-8. Built with mingw-w64,
 * the library opens the workbook, its temporary files and their folder with the C library's
 * narrow calls, which read a name in the system's code page, so a Japanese name would become
 * another name on a Windows set to another language. This header, included ahead of each of its
 * sources, sends those calls to ones that read the name as UTF-8 and open it with the wide calls.
 * The system's headers come first, so that their declarations keep their own names. */
#ifndef HABUKI_XLSXWRITER_UTF8_FILE_NAMES_H
#define HABUKI_XLSXWRITER_UTF8_FILE_NAMES_H

#include <io.h>
#include <stdio.h>
#include <sys/stat.h>

FILE* habuki_utf8_fopen(const char* name, const char* mode);
int habuki_utf8_open(const char* name, int flags, int permissions);
int habuki_utf8_stat(const char* name, struct stat* status);

#define fopen(name, mode) habuki_utf8_fopen(name, mode)
#define fopen64(name, mode) habuki_utf8_fopen(name, mode)
#define _open(name, flags, permissions) habuki_utf8_open(name, flags, permissions)
#define stat(name, status) habuki_utf8_stat(name, status)

#endif
