#include "app/progress_pump.h"

#include "editor/model/document_ops.h"

namespace tabulo::app {

namespace {
// Often enough that the window answers at once, rarely enough that a million
// lines do not spend their time in the event loop.
qint64 g_eventIntervalMs = 40;
}  // namespace

void ProgressPump::setEventInterval(qint64 ms) {
    g_eventIntervalMs = ms;
}

ProgressPump::ProgressPump(editor::BulkEdit& bulk, ShowFn show) : m_bulk(bulk), m_show(std::move(show)) {
    m_sinceEvents.start();
}

bool ProgressPump::step(const std::function<std::pair<QString, QString>()>& texts) {
    if (m_sinceEvents.elapsed() >= g_eventIntervalMs) {
        const auto [panel0, panel1] = texts();
        m_show(panel0, panel1);
        m_sinceEvents.restart();
        return m_bulk.keepGoing();
    }
    return !m_bulk.stopRequested();
}

}  // namespace tabulo::app
