#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

#include "platform/FileOpen.h"
#include "platform/SafeFile.h"

namespace {

// libjpeg reports fatal errors through error_exit, which by default ends the
// process. Ours jumps back to the caller with the library's message instead.
struct ErrorManager {
  jpeg_error_mgr Base;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
  auto* mgr = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, mgr->Message);
  longjmp(mgr->Jump, 1);
}

// Warnings (for example a truncated file padded by the library) are not
// silent: a picture that needed patching up is treated as broken.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) {
    auto* mgr = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, mgr->Message);
    longjmp(mgr->Jump, 1);
  }
}

void OutputMessage(j_common_ptr) {}  // never print

void InitErrors(ErrorManager& mgr) {
  jpeg_std_error(&mgr.Base);
  mgr.Base.error_exit = ErrorExit;
  mgr.Base.emit_message = EmitMessage;
  mgr.Base.output_message = OutputMessage;
  mgr.Message[0] = '\0';
}

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

// The work that runs between setjmp and the library; kept free of objects
// with destructors so that a longjmp out of it skips nothing.
bool EncodeRaw(jpeg_compress_struct& cinfo, ErrorManager& mgr, const uint8_t* rgb, int width,
               int height, int quality, unsigned char** buffer, unsigned long* size) {
  if (setjmp(mgr.Jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, buffer, size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  const size_t stride = static_cast<size_t>(width) * 3;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb + cinfo.next_scanline * stride);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

bool DecodeRaw(jpeg_decompress_struct& cinfo, ErrorManager& mgr, const uint8_t* data, size_t size,
               uint8_t** pixels, int* width, int* height) {
  if (setjmp(mgr.Jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  // The header's size must be one the bytes can hold before the library sets
  // aside memory for it: a picture needs at least a bit for every 8 x 8 block,
  // so far fewer than 1024 pixels per byte of file; a few hundred bytes do not
  // make a picture of many megapixels.
  const uint64_t area = static_cast<uint64_t>(cinfo.image_width) * cinfo.image_height;
  if (area > 1024u * static_cast<uint64_t>(size) + 65536u || cinfo.image_width > 30000 ||
      cinfo.image_height > 30000) {
    std::snprintf(mgr.Message, sizeof mgr.Message, "размер %ux%u не соответствует длине файла",
                  static_cast<unsigned>(cinfo.image_width), static_cast<unsigned>(cinfo.image_height));
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 3 || cinfo.output_width == 0 || cinfo.output_height == 0 ||
      cinfo.output_width > 30000 || cinfo.output_height > 30000) {
    std::snprintf(mgr.Message, sizeof mgr.Message, "unsupported picture layout");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  *width = static_cast<int>(cinfo.output_width);
  *height = static_cast<int>(cinfo.output_height);
  const size_t stride = static_cast<size_t>(*width) * 3;
  *pixels = static_cast<uint8_t*>(std::malloc(stride * static_cast<size_t>(*height)));
  if (!*pixels) {
    std::snprintf(mgr.Message, sizeof mgr.Message, "out of memory");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = *pixels + cinfo.output_scanline * stride;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

bool JpegEncode(const uint8_t* rgb, int width, int height, int quality, std::vector<uint8_t>& out,
                std::string* error) {
  out.clear();
  if (!rgb || width <= 0 || height <= 0 || width > 65500 || height > 65500) {
    SetError(error, "Нет изображения для записи");
    return false;
  }
  if (quality < JpegMinQuality) quality = JpegMinQuality;
  if (quality > JpegMaxQuality) quality = JpegMaxQuality;
  jpeg_compress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  ErrorManager mgr;
  InitErrors(mgr);
  cinfo.err = &mgr.Base;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = EncodeRaw(cinfo, mgr, rgb, width, height, quality, &buffer, &size);
  if (ok && buffer) out.assign(buffer, buffer + size);
  std::free(buffer);
  if (!ok) {
    SetError(error, mgr.Message);
    return false;
  }
  return true;
}

bool JpegWriteFile(const std::string& path, const uint8_t* rgb, int width, int height, int quality,
                   std::string* error, int* errorNumber) {
  if (errorNumber) *errorNumber = 0;
  std::vector<uint8_t> bytes;
  if (!JpegEncode(rgb, width, height, quality, bytes, error)) return false;
  TSafeFileWriter out(path);
  auto fail = [&](const char* what) {
    SetError(error, what + path);
    if (errorNumber) *errorNumber = out.Error();
    return false;
  };
  if (!out.Ok()) return fail("Не удалось создать файл ");
  out.Write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!out.Commit()) return fail("Не удалось записать файл ");
  return true;
}

bool JpegWriteFile(const std::string& path, const TJpegImage& image, int quality,
                   std::string* error, int* errorNumber) {
  if (errorNumber) *errorNumber = 0;
  if (image.Pixels.size() < static_cast<size_t>(image.Width) * image.Height * 3) {
    SetError(error, "Нет изображения для записи");
    return false;
  }
  return JpegWriteFile(path, image.Pixels.data(), image.Width, image.Height, quality, error, errorNumber);
}

bool JpegDecode(const uint8_t* data, size_t size, TJpegImage& image, std::string* error) {
  image = TJpegImage();
  if (!data || size < 4) {
    SetError(error, "Файл не является изображением JPEG");
    return false;
  }
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  ErrorManager mgr;
  InitErrors(mgr);
  cinfo.err = &mgr.Base;
  uint8_t* pixels = nullptr;
  int width = 0, height = 0;
  const bool ok = DecodeRaw(cinfo, mgr, data, size, &pixels, &width, &height);
  if (!ok) {
    std::free(pixels);
    SetError(error, std::string("Изображение JPEG повреждено: ") + mgr.Message);
    return false;
  }
  image.Width = width;
  image.Height = height;
  image.Pixels.assign(pixels, pixels + static_cast<size_t>(width) * height * 3);
  std::free(pixels);
  return true;
}

bool JpegReadFile(const std::string& path, TJpegImage& image, std::string* error) {
  image = TJpegImage();
  std::string bytes;
  if (!ReadRegularFile(path, bytes)) {
    SetError(error, "Не удалось открыть файл " + path);
    return false;
  }
  return JpegDecode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image, error);
}
