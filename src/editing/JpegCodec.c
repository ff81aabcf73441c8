#include "editing/JpegCodec.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jerror.h>
#include <jpeglib.h>

/* libjpeg's way out of an error: remember the code and jump back to the call that set the point. */
struct zw_error {
    struct jpeg_error_mgr pub;
    jmp_buf jump;
    int code;
};

static void zw_error_exit(j_common_ptr cinfo) {
    struct zw_error* err = (struct zw_error*)cinfo->err;
    err->code = err->pub.msg_code;
    longjmp(err->jump, 1);
}

/* A file that ends early only draws a warning, and libjpeg would go on decoding grey rows from an
 * invented end marker. That is a damaged picture, not one to store. Other warnings (stray bytes before
 * a marker) are common in camera files and harmless. */
static void zw_emit_message(j_common_ptr cinfo, int level) {
    struct zw_error* err = (struct zw_error*)cinfo->err;
    if (level < 0 && err->pub.msg_code == JWRN_JPEG_EOF) {
        err->code = err->pub.msg_code;
        longjmp(err->jump, 1);
    }
}

static void zw_output_message(j_common_ptr cinfo) {
    (void)cinfo; /* nothing is printed; the caller reports the code */
}

static void zw_error_init(struct zw_error* err) {
    jpeg_std_error(&err->pub);
    err->pub.error_exit = zw_error_exit;
    err->pub.emit_message = zw_emit_message;
    err->pub.output_message = zw_output_message;
    err->code = 0;
}

struct zw_jpeg_decoder {
    struct jpeg_decompress_struct cinfo;
    struct zw_error err;
    struct jpeg_progress_mgr progress;
    int max_scans;
};

/* A progressive file can repeat scans without end, each one a full pass over the picture; libjpeg-turbo
 * advises a limit for untrusted input. */
static void zw_progress(j_common_ptr cinfo) {
    zw_jpeg_decoder* d = (zw_jpeg_decoder*)cinfo->client_data;
    if (d->cinfo.input_scan_number > d->max_scans) {
        d->err.code = ZW_JPEG_TOO_MANY_SCANS;
        longjmp(d->err.jump, 1);
    }
}

zw_jpeg_decoder* zw_jpeg_decoder_new(void) {
    zw_jpeg_decoder* volatile d = (zw_jpeg_decoder*)calloc(1, sizeof(zw_jpeg_decoder));
    if (!d)
        return NULL;
    zw_error_init(&d->err);
    d->cinfo.err = &d->err.pub;
    if (setjmp(d->err.jump)) {
        free(d);
        return NULL;
    }
    jpeg_create_decompress(&d->cinfo);
    d->cinfo.client_data = d;
    return d;
}

void zw_jpeg_decoder_free(zw_jpeg_decoder* d) {
    if (!d)
        return;
    jpeg_destroy_decompress(&d->cinfo);
    free(d);
}

int zw_jpeg_read_header(zw_jpeg_decoder* d, const unsigned char* data, size_t size, zw_jpeg_header* header) {
    jpeg_saved_marker_ptr marker;
    if (setjmp(d->err.jump))
        return d->err.code;
    memset(header, 0, sizeof *header);
    jpeg_mem_src(&d->cinfo, data, (unsigned long)size);
    jpeg_save_markers(&d->cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d->cinfo, TRUE);

    header->width = (int)d->cinfo.image_width;
    header->height = (int)d->cinfo.image_height;
    header->components = d->cinfo.num_components;
    header->progressive = d->cinfo.progressive_mode ? 1 : 0;
    if (d->cinfo.jpeg_color_space == JCS_CMYK || d->cinfo.jpeg_color_space == JCS_YCCK) {
        /* libjpeg turns YCCK into CMYK but leaves CMYK to RGB to us. */
        header->cmyk = 1;
        header->inverted_cmyk = d->cinfo.saw_Adobe_marker ? 1 : 0;
        d->cinfo.out_color_space = JCS_CMYK;
    } else {
        d->cinfo.out_color_space = JCS_RGB;
    }
    for (marker = d->cinfo.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= 6 &&
            memcmp(marker->data, "Exif\0\0", 6) == 0) {
            header->exif = marker->data;
            header->exif_length = marker->data_length;
            break;
        }
    }
    return 0;
}

int zw_jpeg_start(zw_jpeg_decoder* d, int max_scans) {
    if (setjmp(d->err.jump))
        return d->err.code;
    d->max_scans = max_scans;
    d->progress.progress_monitor = zw_progress;
    d->cinfo.progress = &d->progress;
    jpeg_start_decompress(&d->cinfo);
    return 0;
}

int zw_jpeg_read_row(zw_jpeg_decoder* d, unsigned char* row) {
    JSAMPROW rows[1];
    if (setjmp(d->err.jump))
        return d->err.code;
    rows[0] = row;
    if (jpeg_read_scanlines(&d->cinfo, rows, 1) != 1)
        return JWRN_JPEG_EOF;
    return 0;
}

int zw_jpeg_check_data(zw_jpeg_decoder* d, int max_scans) {
    JSAMPARRAY row;
    if (setjmp(d->err.jump))
        return d->err.code;
    /* Every scan is read and entropy-decoded, but at an eighth of the size each block comes out as its
     * average alone, which costs a fraction of a full decoding. */
    d->cinfo.scale_num = 1;
    d->cinfo.scale_denom = 8;
    d->cinfo.dct_method = JDCT_IFAST;
    d->cinfo.do_fancy_upsampling = FALSE;
    d->max_scans = max_scans;
    d->progress.progress_monitor = zw_progress;
    d->cinfo.progress = &d->progress;
    jpeg_start_decompress(&d->cinfo);
    row = (*d->cinfo.mem->alloc_sarray)((j_common_ptr)&d->cinfo, JPOOL_IMAGE,
                                        d->cinfo.output_width * (JDIMENSION)d->cinfo.output_components, 1);
    while (d->cinfo.output_scanline < d->cinfo.output_height)
        if (jpeg_read_scanlines(&d->cinfo, row, 1) != 1)
            return JWRN_JPEG_EOF;
    jpeg_finish_decompress(&d->cinfo);
    return 0;
}

int zw_jpeg_finish(zw_jpeg_decoder* d) {
    if (setjmp(d->err.jump))
        return d->err.code;
    jpeg_finish_decompress(&d->cinfo);
    return 0;
}

/* The encoder writes into a buffer of its own that grows by doubling; libjpeg's memory destination
 * would lose its newest buffer when an error ends the encoding half-way. */
struct zw_jpeg_encoder {
    struct jpeg_compress_struct cinfo;
    struct zw_error err;
    struct jpeg_destination_mgr dest;
    unsigned char* buffer;
    size_t capacity;
    size_t size;
};

static void zw_dest_init(j_compress_ptr cinfo) {
    zw_jpeg_encoder* e = (zw_jpeg_encoder*)cinfo->client_data;
    e->dest.next_output_byte = e->buffer;
    e->dest.free_in_buffer = e->capacity;
}

static boolean zw_dest_grow(j_compress_ptr cinfo) {
    zw_jpeg_encoder* e = (zw_jpeg_encoder*)cinfo->client_data;
    size_t used = e->capacity;
    size_t capacity = e->capacity * 2;
    unsigned char* grown = (unsigned char*)realloc(e->buffer, capacity);
    if (!grown)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
    e->buffer = grown;
    e->capacity = capacity;
    e->dest.next_output_byte = grown + used;
    e->dest.free_in_buffer = capacity - used;
    return TRUE;
}

static void zw_dest_term(j_compress_ptr cinfo) {
    zw_jpeg_encoder* e = (zw_jpeg_encoder*)cinfo->client_data;
    e->size = e->capacity - e->dest.free_in_buffer;
}

zw_jpeg_encoder* zw_jpeg_encoder_new(void) {
    zw_jpeg_encoder* volatile e = (zw_jpeg_encoder*)calloc(1, sizeof(zw_jpeg_encoder));
    if (!e)
        return NULL;
    zw_error_init(&e->err);
    e->cinfo.err = &e->err.pub;
    if (setjmp(e->err.jump)) {
        free(e);
        return NULL;
    }
    jpeg_create_compress(&e->cinfo);
    e->cinfo.client_data = e;
    e->dest.init_destination = zw_dest_init;
    e->dest.empty_output_buffer = zw_dest_grow;
    e->dest.term_destination = zw_dest_term;
    e->cinfo.dest = &e->dest;
    return e;
}

void zw_jpeg_encoder_free(zw_jpeg_encoder* e) {
    if (!e)
        return;
    jpeg_destroy_compress(&e->cinfo);
    free(e->buffer);
    free(e);
}

int zw_jpeg_encode_start(zw_jpeg_encoder* e, int width, int height, int quality) {
    if (setjmp(e->err.jump))
        return e->err.code;
    /* A first guess of a tenth of the raw size keeps the doublings few for photos. */
    e->capacity = (size_t)width * (size_t)height * 3 / 10 + 65536;
    free(e->buffer);
    e->buffer = (unsigned char*)malloc(e->capacity);
    if (!e->buffer)
        return ZW_JPEG_NO_MEMORY;
    e->size = 0;
    e->cinfo.image_width = (JDIMENSION)width;
    e->cinfo.image_height = (JDIMENSION)height;
    e->cinfo.input_components = 3;
    e->cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e->cinfo);
    jpeg_set_quality(&e->cinfo, quality, TRUE);
    jpeg_start_compress(&e->cinfo, TRUE);
    return 0;
}

int zw_jpeg_write_rows(zw_jpeg_encoder* e, unsigned char** rows, int count) {
    if (setjmp(e->err.jump))
        return e->err.code;
    jpeg_write_scanlines(&e->cinfo, rows, (JDIMENSION)count);
    return 0;
}

int zw_jpeg_encode_finish(zw_jpeg_encoder* e, const unsigned char** data, size_t* size) {
    if (setjmp(e->err.jump))
        return e->err.code;
    jpeg_finish_compress(&e->cinfo);
    *data = e->buffer;
    *size = e->size;
    return 0;
}
