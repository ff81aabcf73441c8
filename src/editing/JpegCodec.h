#pragma once

/* A thin C layer over libjpeg. libjpeg reports errors by calling a function that must not return;
 * the only safe way out of its C frames is longjmp, so every call here sets a jump point and hands
 * back the library's message code instead of letting anything unwind through libjpeg. 0 means success. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Codes of our own beside libjpeg's message codes (which are all >= 0). */
enum { ZW_JPEG_OK = 0, ZW_JPEG_TOO_MANY_SCANS = -2, ZW_JPEG_NO_MEMORY = -3 };

typedef struct zw_jpeg_decoder zw_jpeg_decoder;
typedef struct zw_jpeg_encoder zw_jpeg_encoder;

typedef struct zw_jpeg_header {
    int width;
    int height;
    int components;    /* in the file: 1 gray, 3 colour, 4 CMYK/YCCK */
    int cmyk;          /* decoded rows are CMYK (4 bytes a pixel) rather than RGB */
    int inverted_cmyk; /* Adobe's APP14 marker: ink values are stored inverted */
    int progressive;
    const unsigned char* exif; /* the first APP1 "Exif" payload, valid until the decoder is freed */
    unsigned int exif_length;
} zw_jpeg_header;

zw_jpeg_decoder* zw_jpeg_decoder_new(void);
void zw_jpeg_decoder_free(zw_jpeg_decoder* d);
/* Reads the markers up to the first scan. The data must stay alive while the decoder is used. */
int zw_jpeg_read_header(zw_jpeg_decoder* d, const unsigned char* data, size_t size, zw_jpeg_header* header);
/* Starts decoding; a file with more than max_scans scans is refused with ZW_JPEG_TOO_MANY_SCANS. */
int zw_jpeg_start(zw_jpeg_decoder* d, int max_scans);
/* Decodes the next row into row (width * 3 bytes, or * 4 for CMYK). */
int zw_jpeg_read_row(zw_jpeg_decoder* d, unsigned char* row);
int zw_jpeg_finish(zw_jpeg_decoder* d);
/* In place of start, rows and finish: reads the whole file, to learn whether it decodes to its end,
 * without keeping the picture. */
int zw_jpeg_check_data(zw_jpeg_decoder* d, int max_scans);

zw_jpeg_encoder* zw_jpeg_encoder_new(void);
void zw_jpeg_encoder_free(zw_jpeg_encoder* e);
/* A baseline RGB JPEG of the given size and quality, written to memory. */
int zw_jpeg_encode_start(zw_jpeg_encoder* e, int width, int height, int quality);
/* Rows of width * 3 bytes, top to bottom. */
int zw_jpeg_write_rows(zw_jpeg_encoder* e, unsigned char** rows, int count);
/* Ends the file; *data (owned by the encoder) and *size hold it until the encoder is freed. */
int zw_jpeg_encode_finish(zw_jpeg_encoder* e, const unsigned char** data, size_t* size);

#ifdef __cplusplus
}
#endif
