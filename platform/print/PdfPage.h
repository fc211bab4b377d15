#pragma once

#include "Graphics.h"
#include "Ref.h"

#include <string>

namespace platform {

// A page that prints to the PDF file at path, as the dialog's "print to file" would; throws
// PrintJobException when the job cannot start.
Ref<Graphics> OpenPdfPage(const std::string& path);

}
