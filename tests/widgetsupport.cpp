#include "tests/widgetsupport.h"

bool WidgetMessageRecorder::event(QEvent* pEvent)
{
    return RecordAppMessage(pEvent, m_vecMessages, m_keep) || QWidget::event(pEvent);
}
