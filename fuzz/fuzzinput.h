#ifndef FUZZINPUT_H
#define FUZZINPUT_H

// One fuzz input is a model file and, after a line "---mtl---", the material
// library "fuzz.mtl" that the model may name. Both are written into a private
// directory so that the reader finds them as it would on disk.

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <string_view>
#include <unistd.h>

class FuzzInput
{
public:
    FuzzInput(const uint8_t* data, size_t size)
    {
        const std::string_view input(reinterpret_cast<const char*>(data), size);
        const std::string_view separator = "\n---mtl---\n";
        const size_t split = input.find(separator);
        write(objPath(), input.substr(0, split));
        if (split == std::string_view::npos)
            unlink(mtlPath().c_str());  // a model that names the library finds none
        else
            write(mtlPath(), input.substr(split + separator.size()));
    }

    static const std::string& directory()
    {
        static const std::string dir = [] {
            char name[] = "/tmp/quenvarix-fuzz-XXXXXX";
            if (!mkdtemp(name))
                abort();
            return std::string(name);
        }();
        return dir;
    }
    static std::string objPath() { return directory() + "/fuzz.obj"; }
    static std::string mtlPath() { return directory() + "/fuzz.mtl"; }

private:
    static void write(const std::string& path, std::string_view contents)
    {
        FILE* file = fopen(path.c_str(), "wb");
        if (!file || fwrite(contents.data(), 1, contents.size(), file) != contents.size())
            abort();
        fclose(file);
    }
};

#endif
