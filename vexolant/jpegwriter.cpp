#include "vexolant/jpegwriter.h"

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vexolant {

namespace {

// Everything below up to CompressJpeg is plain C-style code: libjpeg reports
// a failure by calling error_exit, which longjmps back to the setjmp in
// RunCompression. No C++ object with a destructor lives in the frames that
// the longjmp skips, and no C++ exception is thrown through libjpeg.

// The compressed bytes, in a buffer grown with realloc. The caller owns it
// (and frees it on every path); libjpeg only ever sees the destination
// manager below writing into it.
struct OutBuffer {
  unsigned char* data;
  std::size_t capacity;
  std::size_t size;
};

struct Destination {
  jpeg_destination_mgr pub;
  OutBuffer* out;
};

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
  ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings and traces are not printed: a library has no console.
void OutputMessage(j_common_ptr) {}

void InitDestination(j_compress_ptr cinfo) {
  Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->out->data;
  dest->pub.free_in_buffer = dest->out->capacity;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  // Called when the buffer is full: all of it holds data. Double it.
  Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
  OutBuffer* out = dest->out;
  const std::size_t used = out->capacity;
  const std::size_t bigger = used * 2;
  unsigned char* grown = static_cast<unsigned char*>(std::realloc(out->data, bigger));
  if (!grown) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
  out->data = grown;
  out->capacity = bigger;
  dest->pub.next_output_byte = grown + used;
  dest->pub.free_in_buffer = bigger - used;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
  dest->out->size = dest->out->capacity - dest->pub.free_in_buffer;
}

// Returns 1 on success; 0 with the library's message in err->message.
int RunCompression(const platform::BmpFile* bitmap, int quality, OutBuffer* out, unsigned char* row,
                   ErrorManager* err) {
  jpeg_compress_struct cinfo;
  Destination dest;
  std::memset(&cinfo, 0, sizeof cinfo);
  std::memset(&dest, 0, sizeof dest);

  cinfo.err = jpeg_std_error(&err->pub);
  err->pub.error_exit = ErrorExit;
  err->pub.output_message = OutputMessage;
  err->message[0] = 0;
  if (setjmp(err->jump)) {
    jpeg_destroy_compress(&cinfo);
    return 0;
  }

  // 1. The compression object and a destination writing into our buffer.
  jpeg_create_compress(&cinfo);
  dest.pub.init_destination = InitDestination;
  dest.pub.empty_output_buffer = EmptyOutputBuffer;
  dest.pub.term_destination = TermDestination;
  dest.out = out;
  cinfo.dest = &dest.pub;

  // 2. Image size and colour space: three components, red, green, blue.
  cinfo.image_width = JDIMENSION(bitmap->Width());
  cinfo.image_height = JDIMENSION(bitmap->Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;

  // 3. Defaults, then the quality with baseline tables.
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);

  // 4. Compress the rows from top to bottom.
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    bitmap->ReadRgbRow(int(cinfo.next_scanline), row);
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);

  // 5. Release the compression object.
  jpeg_destroy_compress(&cinfo);
  return 1;
}

}  // namespace

std::vector<std::uint8_t> CompressJpeg(const platform::BmpFile& bitmap, int quality) {
  struct Buffers {
    OutBuffer out{nullptr, 0, 0};
    unsigned char* row = nullptr;
    ErrorManager* err = nullptr;
    ~Buffers() {
      std::free(out.data);
      std::free(row);
      std::free(err);
    }
  } b;

  // A starting size that holds a typical diagram at quality 50 without
  // growing; the destination doubles it when needed.
  const std::size_t pixels = std::size_t(bitmap.Width()) * std::size_t(bitmap.Height());
  b.out.capacity = pixels / 8 + 4096;
  b.out.data = static_cast<unsigned char*>(std::malloc(b.out.capacity));
  b.row = static_cast<unsigned char*>(std::malloc(std::size_t(bitmap.Width()) * 3 + 16));
  b.err = static_cast<ErrorManager*>(std::malloc(sizeof(ErrorManager)));
  if (!b.out.data || !b.row || !b.err) throw std::bad_alloc();

  if (!RunCompression(&bitmap, quality, &b.out, b.row, b.err))
    throw EJpegError(std::string("JPEG compression failed: ") + b.err->message);
  return std::vector<std::uint8_t>(b.out.data, b.out.data + b.out.size);
}

}  // namespace vexolant
