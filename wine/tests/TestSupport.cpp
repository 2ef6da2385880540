#include "TestSupport.h"

#include "phone/Error.h"
#include "phone/com/ComText.h"

#include <type_traits>

namespace tervani_tests {

std::string utf8(const std::u16string &text)
{
    return phone::com::toUtf8(text);
}

std::string show(const phone::Value &value)
{
    return std::visit(
        [](const auto &v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, phone::Empty>)
                return "Empty";
            else if constexpr (std::is_same_v<T, phone::Null>)
                return "Null";
            else if constexpr (std::is_same_v<T, bool>)
                return v ? "BOOL true" : "BOOL false";
            else if constexpr (std::is_same_v<T, std::int16_t>)
                return "I2 " + std::to_string(v);
            else if constexpr (std::is_same_v<T, std::int32_t>)
                return "I4 " + std::to_string(v);
            else if constexpr (std::is_same_v<T, double>)
                return "R8 " + std::to_string(v);
            else
                return utf8(v);
        },
        value);
}

std::string errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const phone::Error &error) {
        EXPECT_EQ(error.kind(), phone::ErrorKind::Component);
        return error.description();
    }
    ADD_FAILURE() << "no error";
    return {};
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace tervani_tests
