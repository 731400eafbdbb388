/* The iconv interface of iconv-shim.c (installed as iconv.h into the Windows prefix). */
#ifndef KAVREL_ICONV_SHIM_H
#define KAVREL_ICONV_SHIM_H
#include <stddef.h>
#ifdef __cplusplus
extern "C" {
#endif
typedef void* iconv_t;
iconv_t iconv_open(const char* tocode, const char* fromcode);
size_t iconv(iconv_t cd, char** inbuf, size_t* inleft, char** outbuf, size_t* outleft);
int iconv_close(iconv_t cd);
/* The charset of the current ANSI code page, as libcharset names it. */
const char* locale_charset(void);
#ifdef __cplusplus
}
#endif
#endif
