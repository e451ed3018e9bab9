#pragma once
// The main window's layout table.
#include "ui/Form.h"
#include "ui/Layout.h"

#include <span>

namespace tabulon {

// Frameless, 584 x 382, centred on the desktop when first shown.
const TFormSpec& MainFormSpec();
// Every control of the main window, in z-order within each parent.
std::span<const TControlSpec> MainLayout();

} // namespace tabulon
