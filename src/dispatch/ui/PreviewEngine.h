#pragma once

namespace zw {

// Readies the embedded web engine for the preview. Must run before the application object exists:
// the engine learns its address schemes and start-up switches only then.
void preparePreviewEngine();

}  // namespace zw
