#include "textcontrol/KoltRichClassFactory.h"

#include "textcontrol/KoltRich.h"

namespace vcm {

KoltRichClassFactory& KoltRichClassFactory::instance()
{
  static KoltRichClassFactory factory;
  return factory;
}

IKoltRich* KoltRichClassFactory::CreateInstance(QWidget* parent)
{
  return new KoltRich(parent);
}

} // namespace vcm
