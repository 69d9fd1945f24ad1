// Feeds arbitrary bytes to the project-file reader, then analyses whatever
// the reader left in the model.
#include "model/MatData.h"
#include "model/ProjectFile.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One model for the whole run, as the program keeps one; an empty example
    // folder means no example project is read.
    static slabwise::TMatData model{std::filesystem::path{}};
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    // Only the reader's documented refusals are expected; anything else
    // escaping a read from memory is a fault the fuzzer should report.
    try {
        model.LoadFromStream(in);
    } catch (const slabwise::EWrongFileFormat&) {
    } catch (const slabwise::EJpegError&) {
    }
    try {
        model.Analyze();
    } catch (const std::exception&) {
        // The analysis stops at floating-point faults by raising.
    }
    return 0;
}
