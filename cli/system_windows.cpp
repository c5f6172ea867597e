#include "cli/system.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

namespace dilatany::cli {

// In text mode the C runtime writes LF as CR LF and takes a Ctrl+Z byte on
// input for the end of the file.
void UseBinaryStandardStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

namespace {

std::string Utf8FromWide(const wchar_t *text)
{
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length - 1));
    return utf8;
}

} // namespace

// argv holds the arguments in the ANSI code page, which loses every letter
// outside it; the wide command line has them all.
std::vector<std::string> CommandLineArguments(int argc, char **argv)
{
    int count = 0;
    if (wchar_t **wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i)
            args.push_back(Utf8FromWide(wide[i]));
        ::LocalFree(wide);
        return args;
    }
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

std::filesystem::path PathFromArgument(const std::string &argument)
{
    return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
}

} // namespace dilatany::cli
