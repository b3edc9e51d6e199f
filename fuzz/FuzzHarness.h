#pragma once

#include <cstddef>
#include <cstdint>

// The fuzz targets of Lexamo's readers. Each takes any bytes, must neither crash nor hang, and
// aborts (after printing what broke) when a property it checks does not hold. libFuzzer calls
// them from the fuzz_* programs; the test suite replays the kept inputs through the same
// functions.
namespace fuzzharness {

// Name, as the programs and folders are named, and the function.
struct Target {
    const char* name;
    int (*run)(const uint8_t* data, size_t size);
};

// An import file in each format: read as import reads it, and when it gives records that check
// passes, export then import in every format gives the same records back.
int importCsv(const uint8_t* data, size_t size);
int importAiken(const uint8_t* data, size_t size);
int importGift(const uint8_t* data, size_t size);
int importMoodleXml(const uint8_t* data, size_t size);
// A bank's bytes: read, checked, listed and exported; when check passes, export then import in
// every format gives the same bytes back.
int bank(const uint8_t* data, size_t size);
// An options file: read for a test and for the dialog alike, by the number rules.
int options(const uint8_t* data, size_t size);
// A help file's shown text.
int helpText(const uint8_t* data, size_t size);
// A results log's lines: each test read back from a line written anew is the same test.
int resultsLog(const uint8_t* data, size_t size);
// A bank's notes file: every note kept is within its bounds, and the notes written anew read
// back the same, with nothing wrong.
int bankNotes(const uint8_t* data, size_t size);

// Every target, for the replay program.
const Target* targets(size_t* count);

} // namespace fuzzharness
