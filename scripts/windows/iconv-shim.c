/* A minimal iconv for FreeXL on Windows, where MinGW has none and Debian ships no win-iconv source.
 * FreeXL only turns whole cells of a code page (or UTF-16LE) into UTF-8, so every conversion goes
 * through UTF-16 with the Windows code page API. Names understood: CP<n>, UTF-8, UTF-16LE, and the
 * few aliases FreeXL uses. Conversions are done whole: a buffer too small fails with E2BIG. */
#include "iconv-shim.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <windows.h>

#define KAVREL_CP_UTF16LE 1200u

struct kavrel_iconv {
  unsigned from;
  unsigned to;
};

static unsigned code_page(const char* name) {
  if (strncasecmp(name, "CP", 2) == 0) return (unsigned)strtoul(name + 2, NULL, 10);
  if (strcasecmp(name, "UTF-8") == 0 || strcasecmp(name, "UTF8") == 0) return CP_UTF8;
  if (strcasecmp(name, "UTF-16LE") == 0 || strcasecmp(name, "UCS-2LE") == 0) return KAVREL_CP_UTF16LE;
  if (strcasecmp(name, "ASCII") == 0) return 20127;
  if (strcasecmp(name, "MACINTOSH") == 0 || strcasecmp(name, "MACROMAN") == 0) return 10000;
  if (strcasecmp(name, "ISO-8859-1") == 0 || strcasecmp(name, "LATIN1") == 0) return 28591;
  if (strcasecmp(name, "GB18030") == 0) return 54936;
  return 0;
}

iconv_t iconv_open(const char* tocode, const char* fromcode) {
  unsigned to = code_page(tocode);
  unsigned from = code_page(fromcode);
  if (to == 0 || from == 0 || (from != KAVREL_CP_UTF16LE && !IsValidCodePage(from)) ||
      (to != KAVREL_CP_UTF16LE && !IsValidCodePage(to))) {
    errno = EINVAL;
    return (iconv_t)-1;
  }
  struct kavrel_iconv* cd = malloc(sizeof *cd);
  if (!cd) {
    errno = ENOMEM;
    return (iconv_t)-1;
  }
  cd->from = from;
  cd->to = to;
  return cd;
}

int iconv_close(iconv_t cd) {
  free(cd);
  return 0;
}

size_t iconv(iconv_t cd, char** inbuf, size_t* inleft, char** outbuf, size_t* outleft) {
  struct kavrel_iconv* c = cd;
  if (!inbuf || !*inbuf || *inleft == 0) return 0;
  int wide_len;
  wchar_t* wide;
  if (c->from == KAVREL_CP_UTF16LE) {
    wide_len = (int)(*inleft / 2);
    wide = malloc(sizeof(wchar_t) * (size_t)(wide_len + 1));
    if (!wide) return (size_t)(errno = ENOMEM, -1);
    memcpy(wide, *inbuf, (size_t)wide_len * 2);
  } else {
    wide_len = MultiByteToWideChar(c->from, MB_ERR_INVALID_CHARS, *inbuf, (int)*inleft, NULL, 0);
    if (wide_len <= 0) return (size_t)(errno = EILSEQ, -1);
    wide = malloc(sizeof(wchar_t) * (size_t)wide_len);
    if (!wide) return (size_t)(errno = ENOMEM, -1);
    MultiByteToWideChar(c->from, 0, *inbuf, (int)*inleft, wide, wide_len);
  }
  size_t needed;
  if (c->to == KAVREL_CP_UTF16LE) {
    needed = (size_t)wide_len * 2;
    if (needed > *outleft) {
      free(wide);
      return (size_t)(errno = E2BIG, -1);
    }
    memcpy(*outbuf, wide, needed);
  } else {
    int n = WideCharToMultiByte(c->to, 0, wide, wide_len, NULL, 0, NULL, NULL);
    if (n <= 0) {
      free(wide);
      return (size_t)(errno = EILSEQ, -1);
    }
    needed = (size_t)n;
    if (needed > *outleft) {
      free(wide);
      return (size_t)(errno = E2BIG, -1);
    }
    WideCharToMultiByte(c->to, 0, wide, wide_len, *outbuf, n, NULL, NULL);
  }
  free(wide);
  *inbuf += *inleft;
  *inleft = 0;
  *outbuf += needed;
  *outleft -= needed;
  return 0;
}

const char* locale_charset(void) {
  static char name[16];
  snprintf(name, sizeof name, "CP%u", GetACP());
  return name;
}
