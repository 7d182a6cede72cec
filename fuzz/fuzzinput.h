#ifndef FUZZINPUT_H
#define FUZZINPUT_H

// One fuzz input is a model file and, after a line "---mtl---", the material
// library "fuzz.mtl" that the model may name. The library is written into a
// private directory so that the reader finds it beside the model, as it would
// on disk; the model itself is handed over in memory unless a target asks for
// its file.
//
// The directory lives on a memory file system (/dev/shm): creating, truncating
// and closing files on a disk file system cost more than parsing them, and
// were most of the time of a run.

#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

class FuzzInput
{
public:
    FuzzInput(const uint8_t* data, size_t size)
    {
        const std::string_view input(reinterpret_cast<const char*>(data), size);
        const std::string_view separator = "\n---mtl---\n";
        const size_t split = input.find(separator);
        m_model = input.substr(0, split);
        if (split != std::string_view::npos)
            writeFile(mtlPath(), input.substr(split + separator.size()));
        else if (libraryWritten())
            unlink(mtlPath().c_str());  // a model that names the library finds none
        libraryWritten() = split != std::string_view::npos;
    }

    std::string_view model() const { return m_model; }
    // For targets that read the model by its path.
    void writeModel() const { writeFile(objPath(), m_model); }

    static const std::string& directory()
    {
        static const std::string dir = makeDirectory();
        // Registered after the name exists, so it runs before the name goes.
        static const int removal = atexit(removeDirectory);
        (void)removal;
        return dir;
    }
    static std::string objPath() { return directory() + "/fuzz.obj"; }
    static std::string mtlPath() { return directory() + "/fuzz.mtl"; }
    // Where a target writes what it writes back out (and any library with it).
    static std::string outputPath() { return directory() + "/out/written.obj"; }

    static void writeFile(const std::string& path, std::string_view contents)
    {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            abort();
        for (size_t done = 0; done < contents.size();) {
            const ssize_t written = write(fd, contents.data() + done, contents.size() - done);
            if (written <= 0)
                abort();
            done += size_t(written);
        }
        close(fd);
    }

private:
    static bool& libraryWritten()
    {
        static bool written = false;
        return written;
    }

    static std::string makeDirectory()
    {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string name = std::string(base) + "/quenvarix-fuzz-XXXXXX";
        if (!mkdtemp(name.data()) || mkdir((name + "/out").c_str(), 0700) != 0)
            abort();
        return name;
    }

    // Only the few names used above can be in the directory.
    static void removeDirectory()
    {
        const std::string& dir = directory();
        for (const char* name : {"/out/written.obj", "/out/fuzz.mtl", "/fuzz.obj", "/fuzz.mtl"})
            unlink((dir + name).c_str());
        rmdir((dir + "/out").c_str());
        rmdir(dir.c_str());
    }

    std::string_view m_model;
};

#endif
