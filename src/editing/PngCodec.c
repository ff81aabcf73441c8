#include "editing/PngCodec.h"

#include <png.h>
#include <stdlib.h>
#include <string.h>

struct zw_png_reader {
    png_structp png;
    png_infop info;
    const unsigned char* data;
    size_t size;
    size_t offset;
    char message[200];
};

static void zw_png_error(png_structp png, png_const_charp text) {
    zw_png_reader* r = (zw_png_reader*)png_get_error_ptr(png);
    strncpy(r->message, text ? text : "", sizeof r->message - 1);
    png_longjmp(png, 1);
}

static void zw_png_warning(png_structp png, png_const_charp text) {
    (void)png;
    (void)text; /* ancillary trouble (a bad text chunk, a profile that does not fit) is not a damage */
}

/* The file ends early: an error, not the grey rows an invented end would give. */
static void zw_png_read(png_structp png, png_bytep out, size_t length) {
    zw_png_reader* r = (zw_png_reader*)png_get_io_ptr(png);
    if (length > r->size - r->offset)
        png_error(png, "file ends early");
    memcpy(out, r->data + r->offset, length);
    r->offset += length;
}

zw_png_reader* zw_png_reader_new(const unsigned char* data, size_t size) {
    zw_png_reader* r = (zw_png_reader*)calloc(1, sizeof(zw_png_reader));
    if (!r)
        return NULL;
    r->data = data;
    r->size = size;
    r->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, r, zw_png_error, zw_png_warning);
    r->info = r->png ? png_create_info_struct(r->png) : NULL;
    if (!r->info) {
        zw_png_reader_free(r);
        return NULL;
    }
    png_set_read_fn(r->png, r, zw_png_read);
    return r;
}

void zw_png_reader_free(zw_png_reader* r) {
    if (!r)
        return;
    if (r->png)
        png_destroy_read_struct(&r->png, r->info ? &r->info : NULL, NULL);
    free(r);
}

int zw_png_read_header(zw_png_reader* r, zw_png_header* header) {
    png_bytep profile = NULL;
    png_uint_32 profile_length = 0;
    png_charp name = NULL;
    int compression = 0, colour;
    png_fixed_point gamma = 0;
    if (setjmp(png_jmpbuf(r->png)))
        return ZW_PNG_ERROR;
    memset(header, 0, sizeof *header);
    png_read_info(r->png, r->info);
    colour = png_get_color_type(r->png, r->info);

    png_set_expand(r->png); /* palette to RGB, gray below 8 bits to 8, a tRNS colour to alpha */
    png_set_scale_16(r->png);
    if (!(colour & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(r->png);
    if (png_get_valid(r->png, r->info, PNG_INFO_iCCP) &&
        png_get_iCCP(r->png, r->info, &name, &compression, &profile, &profile_length)) {
        header->icc = profile;
        header->icc_length = profile_length;
    } else if (!png_get_valid(r->png, r->info, PNG_INFO_sRGB) &&
               png_get_gAMA_fixed(r->png, r->info, &gamma) && gamma > 0) {
        png_set_gamma_fixed(r->png, PNG_DEFAULT_sRGB, gamma);
    }
    png_set_interlace_handling(r->png);
    png_read_update_info(r->png, r->info);

    header->width = (int)png_get_image_width(r->png, r->info);
    header->height = (int)png_get_image_height(r->png, r->info);
    header->channels = png_get_channels(r->png, r->info);
    return ZW_PNG_OK;
}

int zw_png_read_image(zw_png_reader* r, unsigned char** rows) {
    if (setjmp(png_jmpbuf(r->png)))
        return ZW_PNG_ERROR;
    png_read_image(r->png, rows);
    png_read_end(r->png, NULL);
    return ZW_PNG_OK;
}

const char* zw_png_message(const zw_png_reader* r) {
    return r->message;
}
