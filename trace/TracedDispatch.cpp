#include "trace/TracedDispatch.h"

namespace trace {

using phone::scripted::AccessKind;

phone::Value TracedDispatch::getProperty(std::int32_t dispId)
{
    m_seen({AccessKind::Get, dispId, {}});
    return m_control.getProperty(dispId);
}

void TracedDispatch::putProperty(std::int32_t dispId, const phone::Value &value)
{
    const phone::Argument written{value};
    m_seen({AccessKind::Put, dispId, std::span<const phone::Argument>(&written, 1)});
    m_control.putProperty(dispId, value);
}

phone::Value TracedDispatch::invoke(std::int32_t dispId, std::span<phone::Argument> arguments)
{
    m_seen({AccessKind::Call, dispId, arguments});
    return m_control.invoke(dispId, arguments);
}

} // namespace trace
