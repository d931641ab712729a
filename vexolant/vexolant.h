/* The C interface of libvexolant.so, the graphic export library.
 *
 * GetFilter: the file type filter of the formats SaveTo writes, as pairs of
 *   description and wildcard separated by "|"; the pair's 1-based position is
 *   the format number. The text belongs to the library.
 * SaveTo: reads the Windows bitmap file at path and writes it beside it, with
 *   the extension replaced, as a GIF (format 1) or JPEG (format 2) file.
 *   Returns 1 when the file was written, 0 otherwise (any other format number,
 *   or a failure); nothing is written to the output path unless the whole
 *   file was built.
 * GetLastErrorText: why the last SaveTo call returned 0; empty after a call
 *   that succeeded. Valid until the next SaveTo call.
 */
#ifndef VEXOLANT_VEXOLANT_H
#define VEXOLANT_VEXOLANT_H

#ifdef __cplusplus
extern "C" {
#endif

typedef const char* (*VexolantGetFilterFn)(void);
typedef unsigned char (*VexolantSaveToFn)(unsigned char format, const char* path);
typedef const char* (*VexolantGetLastErrorTextFn)(void);

#ifdef __cplusplus
}
#endif

#endif
