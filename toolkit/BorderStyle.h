#pragma once

namespace toolkit {

// The border a control draws around itself.
enum class BorderStyle { None, FixedSingle };

} // namespace toolkit
