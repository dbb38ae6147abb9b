#include "pipeline/compose.h"

namespace kov {

int composePhoto(MainWindowState&, DialogValues&, Host&, const std::string&, bool, bool) {
  return kComposeError;
}

void refreshPreview(MainWindowState&, DialogValues&, Host&) {}

}  // namespace kov
