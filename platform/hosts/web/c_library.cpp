// The web's C library (emscripten's musl) maps a message catalogue with __map_file, whose file
// status there is read in a layout other than the one written, so it maps a wrong length and
// gettext reads past it. This one takes its place and reads the file whole into memory; the C
// library keeps a catalogue for the life of the program.
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" const unsigned char* __map_file(const char* path, size_t* size)
{
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat status;
    unsigned char* bytes = nullptr;
    if (fstat(fd, &status) == 0 && status.st_size > 0)
        bytes = static_cast<unsigned char*>(std::malloc(size_t(status.st_size)));
    size_t got = 0;
    while (bytes && got < size_t(status.st_size)) {
        ssize_t n = read(fd, bytes + got, size_t(status.st_size) - got);
        if (n <= 0) break;
        got += size_t(n);
    }
    close(fd);
    if (bytes && got != size_t(status.st_size)) {
        std::free(bytes);
        bytes = nullptr;
    }
    if (bytes) *size = got;
    return bytes;
}
