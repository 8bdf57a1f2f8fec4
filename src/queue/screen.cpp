#include "queue/screen.h"

namespace sendwerk {

void MemoryPane::setData(const QString& text) {
    text_ = text;
    if (onChange) onChange(text_);
}

ScreenParts MemoryScreen::parts() {
    return {&outboxPane, &failurePane, &quarantinePane,     &pendingPane,           &currentPane, &sendButton,
            &haltButton, &endButton,   &retryFailureButton, &retryQuarantineButton, &stopButton,  &logButton};
}

}  // namespace sendwerk
