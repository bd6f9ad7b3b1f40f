#include "art/png.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "art/cairo_image.h"

namespace art {

std::string EncodePng(const Image& image) {
  cairo_surface_t* surface = SurfaceFromImage(image);
  std::string bytes;
  auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_write_to_png_stream(surface, append, &bytes) != CAIRO_STATUS_SUCCESS) {
    bytes.clear();
  }
  cairo_surface_destroy(surface);
  return bytes;
}

bool WritePng(const Image& image, const std::string& path) {
  const std::string bytes = EncodePng(image);
  if (bytes.empty()) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::optional<Image> ReadPng(const std::string& path) {
  constexpr off_t kLimit = 64 << 20;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::string bytes;
  bool read_all = false;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kLimit) {
    bytes.resize(size_t(info.st_size));
    size_t done = 0;
    ssize_t n = 0;
    while (done < bytes.size() && (n = ::read(fd, &bytes[done], bytes.size() - done)) > 0) done += size_t(n);
    read_all = done == bytes.size() && n >= 0;
  }
  ::close(fd);
  if (!read_all) return std::nullopt;
  Image image = ImageFromPng(bytes);
  if (image.width == 0) return std::nullopt;
  return image;
}

}  // namespace art
