#include "tools/scenario/AccessTrace.h"

namespace scenario {

using phone::scripted::Access;
using phone::scripted::AccessKind;

void traceAccesses(phone::scripted::ScriptedControl &control, std::ostream &transcript)
{
    control.onAccess([&transcript](const Access &access) {
        transcript << phone::scripted::accessLine(access) << '\n';
    });
}

void TracingDispatch::trace(const Access &access)
{
    m_out << phone::scripted::accessLine(access) << '\n';
    if (m_inside)
        m_inside(access.dispId);
}

phone::Value TracingDispatch::getProperty(std::int32_t dispId)
{
    trace({AccessKind::Get, dispId, {}});
    return m_control.getProperty(dispId);
}

void TracingDispatch::putProperty(std::int32_t dispId, const phone::Value &value)
{
    const phone::Argument written{value};
    trace({AccessKind::Put, dispId, std::span<const phone::Argument>(&written, 1)});
    m_control.putProperty(dispId, value);
}

phone::Value TracingDispatch::invoke(std::int32_t dispId, std::span<phone::Argument> arguments)
{
    trace({AccessKind::Call, dispId, arguments});
    return m_control.invoke(dispId, arguments);
}

} // namespace scenario
