// Fuzzes the input data file reader: any bytes give a set or a refusal, and
// every set the reader gives is written by the writer and reads back unchanged.
#include "files/input_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Fail(const char *what)
{
    std::fprintf(stderr, "fuzz_reader: %s\n", what);
    std::abort();
}

void CheckShape(std::string_view bytes, dilatany::Shape shape)
{
    using namespace dilatany::files;
    const ReadResult read = ParseInputData(bytes, shape, "fuzz.dat");
    if (const auto *error = std::get_if<FileError>(&read)) {
        if (error->message.empty())
            Fail("refusal without a message");
        return;
    }
    const dilatany::InputTexts &texts = std::get<dilatany::InputTexts>(read);
    if (texts.shape != shape)
        Fail("set of the wrong shape");

    const auto encoded = EncodeInputData(texts);
    if (std::holds_alternative<FileError>(encoded))
        Fail("writer refused a set the reader gave");
    const ReadResult again = ParseInputData(std::get<std::string>(encoded), shape, "fuzz.dat");
    if (!std::holds_alternative<dilatany::InputTexts>(again))
        Fail("written file refused on reading");
    if (std::get<dilatany::InputTexts>(again) != texts)
        Fail("written file reads back different");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    CheckShape(bytes, dilatany::Shape::ULoop);
    CheckShape(bytes, dilatany::Shape::LBend);
    return 0;
}
