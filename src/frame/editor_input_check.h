#pragma once
// The frame editor's check of its pixel fields before anything is saved or the
// caption settings open. It collects: every rule is tried, in a fixed order.

#include <string>

#include "frame/editor_measures.h"

namespace kov {

class Host;

// The messages of every failing rule joined in rule order; empty when the
// fields may be saved.
std::string editorInputErrors(const MeasureTexts& pixelTexts);

// True when the fields may be saved; otherwise shows all messages in one box
// (empty title, OK) and gives false.
bool checkEditorInput(const MeasureTexts& pixelTexts, Host& host);

}  // namespace kov
