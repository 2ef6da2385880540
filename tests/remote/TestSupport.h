#pragma once

#include "phone/Dispatch.h"
#include "phone/remote/RemoteControl.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace remote_test {

// The owning thread's event loop, as far as the bench's remote control needs one: tasks
// posted from any thread, run when the test says so.
class TaskQueue
{
public:
    phone::remote::RemoteControl::Post poster();
    // Runs the tasks posted so far, first waiting up to `limit` for at least one. Returns
    // how many ran.
    int runPosted(std::chrono::milliseconds limit);

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_tasks;
};

// Records every event as "name calling called id"; an action may run inside the handler.
class EventTextSink final : public phone::EventSink
{
public:
    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override;

    std::vector<std::string> events;
    std::function<void(std::string_view name)> action;
};

std::string utf8(const std::u16string &text);
std::string show(const phone::Value &value);

} // namespace remote_test
