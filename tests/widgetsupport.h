#pragma once

#include <vector>

#include <QWidget>

#include "tests/testsupport.h"

// A widget that records the custom messages it receives (only the kept ones when given), for tests
// that need a real parent window, such as the canvas's.
class WidgetMessageRecorder : public QWidget {
public:
    using Message = RecordedMessage;
    explicit WidgetMessageRecorder(std::vector<int> keep = {})
        : m_keep(std::move(keep))
    {
    }
    bool event(QEvent* pEvent) override;

    std::vector<Message> m_vecMessages;

private:
    std::vector<int> m_keep;
};
