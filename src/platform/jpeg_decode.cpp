// Decoding with libjpeg. The library reports fatal errors through error_exit, which must not
// return; ours longjmps back to the setjmp of the step that called the library. Those steps
// hold nothing with a destructor, so the jump skips no C++ clean-up.

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <fcntl.h>
#include <jerror.h>
#include <jpeglib.h>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/exif_orientation.h"
#include "platform/file_util.h"
#include "platform/huge_pages.h"
#include "platform/jpeg_codec.h"

namespace kov {

namespace {

// Rows handed to libjpeg per call: more than it ever produces at once (up to 4 with 4:2:0).
constexpr int kRowsPerCall = 16;
// Progressive files have around ten scans. Each scan costs a pass over the whole picture, so
// a small file of thousands of empty scans would keep the decoder busy for minutes.
constexpr int kMaxScans = 1000;

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so the library's pointer converts back
  std::jmp_buf jump;
  int result;
  bool warned;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  err->result = err->pub.msg_code == JERR_OUT_OF_MEMORY ? kJpegOutOfMemory : kJpegDamaged;
  std::longjmp(err->jump, 1);
}

// Level -1 is a warning about damaged data that the library worked around; higher levels are
// traces. Neither is printed.
void onMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  err->warned = true;
  ++err->pub.num_warnings;
}

void onOutput(j_common_ptr) {}

void onProgress(j_common_ptr cinfo) {
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    ERREXIT(cinfo, JERR_BAD_SCAN_SCRIPT);
}

struct Decoder {
  Decoder() {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    err.pub.output_message = onOutput;
    err.result = kJpegDamaged;
    err.warned = false;
    progress.progress_monitor = onProgress;
  }
  ~Decoder() { jpeg_destroy_decompress(&cinfo); }  // safe on a half-made object: mem is null
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  jpeg_decompress_struct cinfo{};
  ErrorManager err;
  jpeg_progress_mgr progress{};
  int orientation = 1;
};

struct FileBytes {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
};

constexpr int kNotRegularFile = 1;

// The whole of a regular file in one buffer, up to the size it had when opened.
int readWholeFile(const std::string& path, FileBytes& file) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kJpegCannotOpen;
  struct stat st {};
  const bool statted = ::fstat(fd, &st) == 0;
  if (!statted || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return statted && !S_ISDIR(st.st_mode) ? kNotRegularFile : kJpegCannotOpen;
  }
  const std::size_t capacity = std::size_t(st.st_size);
  try {
    file.data = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
  } catch (const std::bad_alloc&) {
    ::close(fd);
    return kJpegOutOfMemory;
  }
  preferHugePages(file.data.get(), capacity);
  int result = kJpegOk;
  while (file.size < capacity) {
    const ssize_t n = ::read(fd, file.data.get() + file.size, capacity - file.size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) result = kJpegCannotOpen;
    if (n <= 0) break;
    file.size += std::size_t(n);
  }
  ::close(fd);
  return result;
}

int orientationOf(const jpeg_decompress_struct& cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
    if (m->marker != JPEG_APP0 + 1 || m->data_length < 6) continue;
    if (std::equal(m->data, m->data + 4, "Exif")) return exifOrientation(m->data, m->data_length);
  }
  return 1;
}

int readHeader(Decoder& d, const std::uint8_t* data, std::size_t size) {
  if (setjmp(d.err.jump)) return d.err.result;
  jpeg_create_decompress(&d.cinfo);
  d.cinfo.progress = &d.progress;
  jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&d.cinfo, TRUE);
  // The saved markers are freed when decoding finishes; markers after the header are not wanted.
  d.orientation = orientationOf(d.cinfo);
  jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0);
  // libjpeg has no CMYK to RGB conversion: take CMYK (YCCK comes out as CMYK) and convert here.
  // Other colour spaces go straight to BGR; one the library cannot convert fails to start.
  const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
  d.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_calc_output_dimensions(&d.cinfo);
  return kJpegOk;
}

// round(a * b / 255) for bytes, without a division.
inline std::uint8_t mulDiv255(unsigned a, unsigned b) {
  const unsigned t = a * b + 128;
  return std::uint8_t((t + (t >> 8)) >> 8);
}

// Photoshop (which writes the Adobe marker) stores CMYK inverted: 255 means no ink. The light
// left in each channel is then the stored value times the stored black, both out of 255.
void cmykToBgr(const JSAMPLE* in, std::uint8_t* out, int width, bool inverted) {
  const unsigned flip = inverted ? 0 : 255;
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    const unsigned k = in[3] ^ flip;
    out[0] = mulDiv255(in[2] ^ flip, k);
    out[1] = mulDiv255(in[1] ^ flip, k);
    out[2] = mulDiv255(in[0] ^ flip, k);
  }
}

int readPixels(Decoder& d, WorkImage& out) {
  if (setjmp(d.err.jump)) {
    // Once every row is out, a failure while reading past the picture data loses nothing.
    const bool complete =
        d.cinfo.output_height > 0 && d.cinfo.output_scanline >= d.cinfo.output_height;
    if (complete && d.err.result == kJpegDamaged) {
      d.err.warned = true;
      return kJpegOk;
    }
    return d.err.result;
  }
  j_decompress_ptr cinfo = &d.cinfo;
  jpeg_start_decompress(cinfo);
  const bool cmyk = cinfo->out_color_space == JCS_CMYK;
  JSAMPARRAY cmykRows = nullptr;
  if (cmyk)
    cmykRows = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                           cinfo->output_width * 4, kRowsPerCall);
  const bool inverted = cinfo->saw_Adobe_marker;
  JSAMPROW rows[kRowsPerCall];
  while (cinfo->output_scanline < cinfo->output_height) {
    const JDIMENSION first = cinfo->output_scanline;
    const JDIMENSION wanted = std::min<JDIMENSION>(kRowsPerCall, cinfo->output_height - first);
    for (JDIMENSION i = 0; i < wanted; ++i) rows[i] = out.row(int(first + i));
    const JDIMENSION got = jpeg_read_scanlines(cinfo, cmyk ? cmykRows : rows, wanted);
    if (got == 0) ERREXIT(cinfo, JERR_INPUT_EOF);  // cannot happen with a memory source
    if (cmyk)
      for (JDIMENSION i = 0; i < got; ++i)
        cmykToBgr(cmykRows[i], rows[i], int(cinfo->output_width), inverted);
  }
  jpeg_finish_decompress(cinfo);
  return kJpegOk;
}

}  // namespace

int decodeJpegMemory(const std::uint8_t* data, std::size_t size, WorkImage& out, JpegInfo* info,
                     std::int64_t maxPixels) {
  out.reset(0, 0);
  if (info) *info = JpegInfo{};
  if (!data || size == 0) return kJpegDamaged;
  Decoder d;
  int result = readHeader(d, data, size);
  if (result != kJpegOk) return result;
  const int width = int(d.cinfo.output_width);
  const int height = int(d.cinfo.output_height);
  if (std::int64_t(width) * height > maxPixels) return kJpegTooLarge;
  try {
    out.reset(width, height);
  } catch (const std::bad_alloc&) {
    return kJpegOutOfMemory;
  }
  result = readPixels(d, out);
  if (result != kJpegOk) {
    out.reset(0, 0);
    return result;
  }
  if (info) {
    info->orientation = d.orientation;
    info->warned = d.err.warned;
  }
  return kJpegOk;
}

int decodeJpegFile(const std::string& path, WorkImage& out, JpegInfo* info,
                   std::int64_t maxPixels) {
  out.reset(0, 0);
  if (info) *info = JpegInfo{};
  FileBytes file;
  const int result = readWholeFile(path, file);
  if (result == kJpegOk) return decodeJpegMemory(file.data.get(), file.size, out, info, maxPixels);
  if (result != kNotRegularFile) return result;
  // A pipe or device has no size to read up to.
  std::optional<std::string> bytes;
  try {
    bytes = readFileBytes(path);
  } catch (const std::bad_alloc&) {
    return kJpegOutOfMemory;
  }
  if (!bytes) return kJpegCannotOpen;
  return decodeJpegMemory(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size(), out,
                          info, maxPixels);
}

}  // namespace kov
