#include "vexolant/jpegwriter.h"

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <string>

namespace vexolant {

namespace {

// Everything below up to WriteJpeg is plain C-style code: libjpeg reports a
// failure by calling error_exit, which longjmps back to the setjmp in
// RunCompression. No C++ object with a destructor lives in the frames that
// the longjmp skips, and no C++ exception is thrown through libjpeg.

constexpr std::size_t OutBufferSize = 64 * 1024;
constexpr int RowsPerCall = 16;

// The destination: compressed bytes gather in a buffer that the caller owns,
// and each full buffer goes to the sink. A sink failure is caught in
// SinkWrite, its text kept, and turned into a libjpeg failure.
struct Destination {
  jpeg_destination_mgr pub;
  TByteSink* sink;
  unsigned char* buffer;
  bool sinkFailed;
  char sinkMessage[256];
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

// Hands n bytes to the sink; false (with the text kept) when it fails.
bool SinkWrite(Destination* dest, std::size_t n) noexcept {
  try {
    dest->sink->Write(dest->buffer, n);
    return true;
  } catch (const std::exception& e) {
    std::snprintf(dest->sinkMessage, sizeof dest->sinkMessage, "%s", e.what());
  } catch (...) {
    std::snprintf(dest->sinkMessage, sizeof dest->sinkMessage, "the output cannot be written");
  }
  dest->sinkFailed = true;
  return false;
}

void InitDestination(j_compress_ptr cinfo) {
  Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = OutBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  // Called when the buffer is full: all of it holds data.
  Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
  if (!SinkWrite(dest, OutBufferSize)) ERREXIT(cinfo, JERR_FILE_WRITE);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = OutBufferSize;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
  if (!SinkWrite(dest, OutBufferSize - dest->pub.free_in_buffer)) ERREXIT(cinfo, JERR_FILE_WRITE);
}

// The colour space in which the bitmap's stored rows can go to libjpeg as
// they are, with their bytes per pixel; JCS_UNKNOWN when they need converting.
J_COLOR_SPACE DirectColorSpace(const platform::BmpFile& bitmap, int* components) {
  using Layout = platform::BmpFile::Layout;
  *components = 3;
  switch (bitmap.RowLayout()) {
    case Layout::Rgb24:
      return JCS_RGB;
#ifdef JCS_EXTENSIONS
    case Layout::Bgr24:
      return JCS_EXT_BGR;
    case Layout::Bgrx32:
      *components = 4;
      return JCS_EXT_BGRX;
#endif
    default:
      return JCS_UNKNOWN;
  }
}

// Returns 1 on success; 0 with the library's message in err->message.
int RunCompression(const platform::BmpFile* bitmap, int quality, Destination* dest,
                   unsigned char* row, ErrorManager* err) {
  jpeg_compress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);

  cinfo.err = jpeg_std_error(&err->pub);
  err->pub.error_exit = ErrorExit;
  err->pub.output_message = OutputMessage;
  err->message[0] = 0;
  if (setjmp(err->jump)) {
    jpeg_destroy_compress(&cinfo);
    return 0;
  }

  // 1. The compression object and a destination writing into the sink.
  jpeg_create_compress(&cinfo);
  dest->pub.init_destination = InitDestination;
  dest->pub.empty_output_buffer = EmptyOutputBuffer;
  dest->pub.term_destination = TermDestination;
  cinfo.dest = &dest->pub;

  // 2. Image size and colour space: red, green, blue (in the order the
  // rows hold them when they go over directly).
  int components = 3;
  const J_COLOR_SPACE direct = DirectColorSpace(*bitmap, &components);
  cinfo.image_width = JDIMENSION(bitmap->Width());
  cinfo.image_height = JDIMENSION(bitmap->Height());
  cinfo.input_components = direct == JCS_UNKNOWN ? 3 : components;
  cinfo.in_color_space = direct == JCS_UNKNOWN ? JCS_RGB : direct;

  // 3. Defaults, then the quality with baseline tables.
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);

  // 4. Compress the rows from top to bottom. libjpeg only reads them.
  jpeg_start_compress(&cinfo, TRUE);
  JSAMPROW rows[RowsPerCall];
  while (cinfo.next_scanline < cinfo.image_height) {
    JDIMENSION n = 1;
    if (direct == JCS_UNKNOWN) {
      bitmap->ReadRgbRow(int(cinfo.next_scanline), row);
      rows[0] = row;
    } else {
      n = cinfo.image_height - cinfo.next_scanline;
      if (n > JDIMENSION(RowsPerCall)) n = RowsPerCall;
      for (JDIMENSION i = 0; i < n; ++i)
        rows[i] = const_cast<JSAMPROW>(bitmap->StoredRow(int(cinfo.next_scanline + i)));
    }
    jpeg_write_scanlines(&cinfo, rows, n);
  }
  jpeg_finish_compress(&cinfo);

  // 5. Release the compression object.
  jpeg_destroy_compress(&cinfo);
  return 1;
}

}  // namespace

void WriteJpeg(const platform::BmpFile& bitmap, int quality, TByteSink& out) {
  struct Buffers {
    unsigned char* out = nullptr;
    unsigned char* row = nullptr;
    ErrorManager* err = nullptr;
    Destination* dest = nullptr;
    ~Buffers() {
      std::free(out);
      std::free(row);
      std::free(err);
      std::free(dest);
    }
  } b;
  b.out = static_cast<unsigned char*>(std::malloc(OutBufferSize));
  b.row = static_cast<unsigned char*>(std::malloc(std::size_t(bitmap.Width()) * 3 + 16));
  b.err = static_cast<ErrorManager*>(std::malloc(sizeof(ErrorManager)));
  b.dest = static_cast<Destination*>(std::calloc(1, sizeof(Destination)));
  if (!b.out || !b.row || !b.err || !b.dest) throw std::bad_alloc();
  b.dest->sink = &out;
  b.dest->buffer = b.out;

  if (!RunCompression(&bitmap, quality, b.dest, b.row, b.err)) {
    if (b.dest->sinkFailed) throw std::runtime_error(b.dest->sinkMessage);
    throw EJpegError(std::string("JPEG compression failed: ") + b.err->message);
  }
}

std::vector<std::uint8_t> CompressJpeg(const platform::BmpFile& bitmap, int quality) {
  TMemorySink sink;
  WriteJpeg(bitmap, quality, sink);
  return std::move(sink.Bytes);
}

}  // namespace vexolant
