#include "queue/screen.h"

namespace sendwerk {

void MemoryPane::setData(const QString& text) {
    text_ = text;
    if (onChange) onChange(text_);
}

}  // namespace sendwerk
