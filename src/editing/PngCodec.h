#pragma once

/* A thin C layer over libpng, for the same reason as the one over libjpeg: libpng leaves an error by
 * longjmp, which must not cross C++ frames. Every call sets its own jump point and returns 0 on success,
 * or ZW_PNG_ERROR with the library's message kept. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { ZW_PNG_OK = 0, ZW_PNG_ERROR = -1 };

typedef struct zw_png_reader zw_png_reader;

typedef struct zw_png_header {
    int width;
    int height;
    int channels;              /* of the rows read: 3 RGB, or 4 RGBA with straight alpha */
    const unsigned char* icc;  /* the iCCP profile, valid until the reader is freed */
    unsigned int icc_length;
} zw_png_header;

/* The data must stay alive while the reader is used. */
zw_png_reader* zw_png_reader_new(const unsigned char* data, size_t size);
void zw_png_reader_free(zw_png_reader* r);
/* Reads the chunks up to the image data and sets the rows up as 8-bit RGB or RGBA: palettes and gray
 * expanded, a transparent colour made alpha, 16-bit channels scaled, a file gamma (without an sRGB or
 * ICC chunk) brought to sRGB's. */
int zw_png_read_header(zw_png_reader* r, zw_png_header* header);
/* Reads every row (height pointers to width * channels bytes), interlaced or not, and the file to its
 * end chunk. */
int zw_png_read_image(zw_png_reader* r, unsigned char** rows);
/* The library's last error message. */
const char* zw_png_message(const zw_png_reader* r);

#ifdef __cplusplus
}
#endif
