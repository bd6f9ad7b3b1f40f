// artbake <picture folder> <output.cpp>: draws every picture of the catalog
// from the SVG files of the folder and writes a C++ source that holds each one
// as PNG data (src/rasters.h), so the program carries its pictures drawn and
// neither reads nor draws SVG when it runs. Run by the build.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "art/png.h"
#include "picture_sources.h"

namespace {

// A picture file of the folder; empty when it is missing, not a regular file
// or larger than any picture file should be.
std::string ReadPictureFile(const std::string& path) {
  constexpr off_t kLimit = 1 << 20;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {};
  struct stat info {};
  std::string bytes;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kLimit) {
    bytes.resize(size_t(info.st_size));
    size_t done = 0;
    ssize_t n = 0;
    while (done < bytes.size() && (n = ::read(fd, &bytes[done], bytes.size() - done)) > 0) done += size_t(n);
    if (done != bytes.size()) bytes.clear();
  }
  ::close(fd);
  return bytes;
}

const char* KindName(art::Kind kind) { return kind == art::Kind::Bitmap ? "Kind::Bitmap" : "Kind::Icon"; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: artbake <picture folder> <output.cpp>\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::vector<art::DrawnPicture> pictures =
      art::DrawPictures([&](const std::string& name) { return ReadPictureFile(folder + "/" + name); });

  std::ostringstream out;
  out << "// Made by artbake from the SVG files of meterapp/res/pictures.\n"
         "#include \"rasters.h\"\n\nnamespace art {\nnamespace {\n\n";
  std::ostringstream table;
  for (size_t i = 0; i < pictures.size(); ++i) {
    const art::DrawnPicture& picture = pictures[i];
    const std::string png = art::EncodePng(picture.image);
    if (picture.image.width == 0 || png.empty()) {
      std::fprintf(stderr, "artbake: cannot draw %s from %s\n", picture.entry.name, folder.c_str());
      return 1;
    }
    out << "// " << picture.entry.name << ", " << picture.image.width << " x " << picture.image.height
        << "\nconst unsigned char kPng" << i << "[] = {";
    for (size_t b = 0; b < png.size(); ++b) {
      out << (b % 16 == 0 ? "\n" : "") << unsigned(static_cast<unsigned char>(png[b])) << ",";
    }
    out << "\n};\n\n";
    table << "    {{" << KindName(picture.entry.kind) << ", " << picture.entry.id << ", " << picture.entry.size
          << ", \"" << picture.entry.name << "\"}, kPng" << i << ", sizeof(kPng" << i << ")},\n";
  }
  out << "}  // namespace\n\nconst Raster kRasters[] = {\n"
      << table.str() << "};\nconst size_t kRasterCount = " << pictures.size() << ";\n\n}  // namespace art\n";

  // Written whole or not at all: a failed run leaves no half source behind.
  const std::string output = argv[2];
  const std::string partial = output + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file << out.str();
    file.close();
    if (!file) {
      std::fprintf(stderr, "artbake: cannot write %s\n", partial.c_str());
      std::remove(partial.c_str());
      return 1;
    }
  }
  if (std::rename(partial.c_str(), output.c_str()) != 0) {
    std::perror("artbake");
    std::remove(partial.c_str());
    return 1;
  }
  return 0;
}
