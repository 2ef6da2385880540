#include "TestSupport.h"

namespace remote_test {

phone::remote::RemoteControl::Post TaskQueue::poster()
{
    return [this](std::function<void()> task) {
        {
            std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_posted.notify_all();
    };
}

int TaskQueue::runPosted(std::chrono::milliseconds limit)
{
    std::deque<std::function<void()>> tasks;
    {
        std::unique_lock lock(m_mutex);
        m_posted.wait_for(lock, limit, [this] { return !m_tasks.empty(); });
        tasks.swap(m_tasks);
    }
    for (auto &task : tasks)
        task();
    return static_cast<int>(tasks.size());
}

void EventTextSink::controlEvent(std::string_view name, const phone::EventArguments &arguments)
{
    events.push_back(std::string(name) + " " + show(arguments.callingNumber) + " "
                     + show(arguments.calledMSN) + " " + show(arguments.callID));
    if (action)
        action(name);
}

std::string utf8(const std::u16string &text)
{
    std::string out;
    for (char16_t unit : text) {
        if (unit < 0x80)
            out += static_cast<char>(unit);
        else
            out += "\\u" + std::to_string(static_cast<unsigned>(unit));
    }
    return out;
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
                return v ? "true" : "false";
            else if constexpr (std::is_same_v<T, std::int16_t>)
                return "i16:" + std::to_string(v);
            else if constexpr (std::is_same_v<T, std::int32_t>)
                return "i32:" + std::to_string(v);
            else if constexpr (std::is_same_v<T, double>)
                return "dbl:" + phone::shortestDouble(v);
            else
                return "'" + utf8(v) + "'";
        },
        value);
}

} // namespace remote_test
