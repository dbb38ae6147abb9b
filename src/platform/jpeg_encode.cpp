// Encoding with libjpeg into a std::string. As in the decoder, fatal library errors longjmp
// back to the one step that calls the library, which holds nothing with a destructor.

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>
#include <new>

#include "platform/file_util.h"
#include "platform/huge_pages.h"
#include "platform/jpeg_codec.h"

namespace kov {

namespace {

constexpr int kRowsPerCall = 16;
constexpr UINT16 kDotsPerInch = 300;
constexpr std::size_t kMinOutputBuffer = 64 * 1024;

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so the library's pointer converts back
  std::jmp_buf jump;
  int result;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  // Only running out of memory is expected; anything else is a fault in what we handed over.
  err->result = err->pub.msg_code == JERR_OUT_OF_MEMORY ? kJpegOutOfMemory : kJpegWriteFailed;
  std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {}
void onOutput(j_common_ptr) {}

// Writes straight into the caller's string, growing it by doubling. Exceptions must not pass
// through the library, so a failed allocation becomes the library's own out-of-memory error.
struct StringDestination {
  jpeg_destination_mgr pub;  // first, so the library's pointer converts back
  std::string* bytes;
  std::size_t initialSize;
};

bool growTo(std::string& s, std::size_t size) noexcept {
  try {
    if (size > s.capacity()) {
      s.reserve(size);
      preferHugePages(s.data(), s.capacity());
    }
    s.resize(size);
    return true;
  } catch (...) {
    return false;
  }
}

StringDestination* destinationOf(j_compress_ptr cinfo) {
  return reinterpret_cast<StringDestination*>(cinfo->dest);
}

void initDestination(j_compress_ptr cinfo) {
  StringDestination* dest = destinationOf(cinfo);
  if (!growTo(*dest->bytes, dest->initialSize)) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  dest->pub.next_output_byte = reinterpret_cast<JOCTET*>(dest->bytes->data());
  dest->pub.free_in_buffer = dest->bytes->size();
}

// Called only when the whole buffer is full.
boolean emptyOutputBuffer(j_compress_ptr cinfo) {
  StringDestination* dest = destinationOf(cinfo);
  const std::size_t used = dest->bytes->size();
  if (!growTo(*dest->bytes, used * 2)) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
  dest->pub.next_output_byte = reinterpret_cast<JOCTET*>(dest->bytes->data()) + used;
  dest->pub.free_in_buffer = dest->bytes->size() - used;
  return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
  StringDestination* dest = destinationOf(cinfo);
  dest->bytes->resize(dest->bytes->size() - dest->pub.free_in_buffer);  // shrinks: no throw
}

struct Encoder {
  explicit Encoder(std::string& bytes) {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    err.pub.output_message = onOutput;
    err.result = kJpegWriteFailed;
    dest.pub.init_destination = initDestination;
    dest.pub.empty_output_buffer = emptyOutputBuffer;
    dest.pub.term_destination = termDestination;
    dest.bytes = &bytes;
  }
  ~Encoder() { jpeg_destroy_compress(&cinfo); }  // safe on a half-made object: mem is null
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  jpeg_compress_struct cinfo{};
  ErrorManager err;
  StringDestination dest{};
};

int compress(Encoder& e, const WorkImage& image, int quality) {
  if (setjmp(e.err.jump)) return e.err.result;
  j_compress_ptr cinfo = &e.cinfo;
  jpeg_create_compress(cinfo);
  cinfo->dest = &e.dest.pub;
  cinfo->image_width = JDIMENSION(image.width());
  cinfo->image_height = JDIMENSION(image.height());
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  // The frames are designed at 300 dpi; carrying it lets the output print at its real size.
  cinfo->write_JFIF_header = TRUE;
  cinfo->density_unit = 1;
  cinfo->X_density = kDotsPerInch;
  cinfo->Y_density = kDotsPerInch;
  jpeg_start_compress(cinfo, TRUE);
  JSAMPROW rows[kRowsPerCall];
  while (cinfo->next_scanline < cinfo->image_height) {
    const JDIMENSION first = cinfo->next_scanline;
    const JDIMENSION count = std::min<JDIMENSION>(kRowsPerCall, cinfo->image_height - first);
    // libjpeg only reads the rows; its interface just lacks the const.
    for (JDIMENSION i = 0; i < count; ++i)
      rows[i] = const_cast<JSAMPROW>(image.row(int(first + i)));
    jpeg_write_scanlines(cinfo, rows, count);
  }
  jpeg_finish_compress(cinfo);
  return kJpegOk;
}

}  // namespace

int encodeJpeg(const WorkImage& image, int quality, std::string& bytes) {
  bytes.clear();
  if (image.empty()) return kJpegEmptyPicture;
  if (image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
    return kJpegTooLarge;
  Encoder e(bytes);
  // Room for a typical photo at high quality, so the buffer seldom has to grow.
  e.dest.initialSize = std::max(kMinOutputBuffer, image.stride() * std::size_t(image.height()) / 6);
  const int result = compress(e, image, std::clamp(quality, 1, 100));
  if (result != kJpegOk) bytes.clear();
  return result;
}

int writeJpegFile(const std::string& path, const WorkImage& image, int quality) {
  std::string bytes;
  const int result = encodeJpeg(image, quality, bytes);
  if (result != kJpegOk) return result;
  return writeFileAtomic(path, bytes) ? kJpegOk : kJpegWriteFailed;
}

}  // namespace kov
