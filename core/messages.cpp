#include "core/messages.h"

namespace dilatany {

std::string FillMessage(std::string_view text, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(text.size() + 64);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < args.size()) {
                out += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string NotNumbersMessage(const UnreadableInputs &inputs)
{
    std::string captions;
    for (const InputField *field : inputs.fields) {
        if (!captions.empty())
            captions += ", ";
        captions += TrimmedCaption(*field);
    }
    return FillMessage("Tyto údaje nejsou čísla: %1", {captions});
}

std::string FaultMessage(FpFault fault)
{
    switch (fault) {
    case FpFault::DivisionByZero:
        return "Výpočet nelze dokončit: dělení nulou.";
    case FpFault::Overflow:
        return "Výpočet nelze dokončit: přetečení.";
    case FpFault::InvalidOperation:
        return "Výpočet nelze dokončit: neplatná operace.";
    }
    return "Výpočet nelze dokončit: neplatná operace.";
}

} // namespace dilatany
