#pragma once

#include "textcontrol/KoltRichInterface.h"

namespace vcm {

/// The library's class object for KoltRich, handed out by DllGetClassObject.
class KoltRichClassFactory final : public IKoltRichClassFactory {
public:
  static KoltRichClassFactory& instance();

  IKoltRich* CreateInstance(QWidget* parent) override;
};

} // namespace vcm
