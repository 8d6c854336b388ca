#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QString>

class QWidget;

namespace vcm {

/// Creates a KoltRich control through its class identity: `classIdOrProgId` is the
/// ProgID "Kolt_Rich.KoltRich" or the class identifier in braces. The registered
/// library is loaded on first use. The control belongs to `parent` and is in its default
/// state (load the design's properties with ReadProperties). When the class is not
/// registered or its library cannot be loaded, the user gets a notice and the result is
/// null.
IKoltRich* createControl(const QString& classIdOrProgId, QWidget* parent);

/// Runs the self-registration entry point of the library at `libraryPath`, which records
/// its classes for createControl. S_Ok on success.
koltrich::HResult registerServer(const QString& libraryPath);

/// Runs the library's unregistration entry point. S_Ok on success.
koltrich::HResult unregisterServer(const QString& libraryPath);

} // namespace vcm
