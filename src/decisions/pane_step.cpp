#include "decisions/pane_step.h"

namespace kelm {

std::string CopyingText(std::size_t count) {
    // One element, twenty-one elements: "элемента"; but eleven: "элементов".
    const bool one = count % 10 == 1 && count % 100 != 11;
    return "копирование " + std::to_string(count) + (one ? " элемента" : " элементов");
}

std::string StepText(const PaneStep& step, const std::string& label) {
    switch (step.What()) {
        case PaneStep::Kind::Copy:
            return CopyingText(step.CopyCount());
        case PaneStep::Kind::Delete:
            return "удаление";
        case PaneStep::Kind::Undelete:
            return "восстановление";
        case PaneStep::Kind::Edit:
            return "изменение свойств " + label;
        case PaneStep::Kind::Merge:
            return "слияние";
    }
    return {};
}

}  // namespace kelm
