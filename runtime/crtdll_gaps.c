/* What the static libstdc++ asks of the C runtime that crtdll.dll does not export by these
 * names. Only std::random_device reaches them: libstdc++ keeps its old-ABI constructor in the
 * object of the old std::string, which its exception classes pull into every program that
 * throws. This program makes no random_device. */
#include <errno.h>
#include <io.h>

/* mingw-w64 provides the POSIX names for msvcrt only; crtdll has the underscored ones. */
int close(int fd) {
    return _close(fd);
}

int read(int fd, void* buffer, unsigned int count) {
    return _read(fd, buffer, count);
}

/* rand_s came with the Visual C++ 2005 runtime, and the random source mingw-w64 falls back on
 * for msvcrt (advapi32's RtlGenRandom) with XP; 95 has neither. So it fails as rand_s does on
 * bad input, and a random_device throws rather than hand out numbers that are not random.
 * libstdc++ calls it through the import pointer, hence a pointer by that name. */
static int __cdecl no_rand_s(unsigned int* value) {
    if (value) *value = 0;
    return EINVAL;
}

int(__cdecl* _imp__rand_s)(unsigned int*) = no_rand_s;
