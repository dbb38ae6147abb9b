// Frame files come from anywhere (mail, USB sticks, other programs): parse
// arbitrary bytes as one, check it and write it back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/frame_check.h"
#include "frame/frame_file.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kov::Profile file =
      kov::Profile::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  for (kov::FrameContext context :
       {kov::FrameContext::EditorLoad, kov::FrameContext::MainWindowLoad}) {
    const auto frame = kov::frameFromProfile(file, "/nonexistent/frame.ini", context);
    if (frame) (void)kov::checkFrame(*frame, context);
  }
  return 0;
}
