#include "toolkit/rtf/RtfGroupState.h"

namespace toolkit {

void RtfGroupState::resetCharacter() { character = Character {}; }

void RtfGroupState::resetParagraph() { paragraph = Paragraph {}; }

} // namespace toolkit
