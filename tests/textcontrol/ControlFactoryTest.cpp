#include "RegisteredLibrary.h"

#include "platform/ScriptedUi.h"
#include "textcontrol/ClassRegistry.h"
#include "textcontrol/ComponentLibrary.h"
#include "textcontrol/ControlFactory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>

using namespace vcm;

namespace {

const QString ProgId = QString::fromLatin1(koltrich::ProgId);
const QString ClassId = QString::fromLatin1(koltrich::ClassId);
const QString Reinstall = QStringLiteral("\n\n프로그램을 다시 설치해 주십시오.");

class ControlFactoryTest : public ::testing::Test {
protected:
  void SetUp() override { m_library = test::registerBuiltLibrary(); }
  void TearDown() override
  {
    // Every test leaves the built library registered for the next one.
    ASSERT_EQ(registerServer(m_library), koltrich::S_Ok);
  }

  QString m_library;
  ScopedScriptedUi m_ui;
};

TEST_F(ControlFactoryTest, RegistrationRecordsIdentityAndLibraryPath)
{
  auto registry = test::openRegistry();
  QSettings& file = *registry;
  EXPECT_EQ(file.value(ProgId + "/CLSID/Default").toString(), ClassId);
  EXPECT_EQ(file.value("CLSID/" + ClassId + "/ProgID/Default").toString(), ProgId);
  EXPECT_EQ(file.value("CLSID/" + ClassId + "/InprocServer32/Default").toString(),
            QDir::toNativeSeparators(QFileInfo(m_library).absoluteFilePath()));

  ASSERT_EQ(unregisterServer(m_library), koltrich::S_Ok);
  file.sync();
  EXPECT_FALSE(file.childGroups().contains(ProgId));
  file.beginGroup(QStringLiteral("CLSID"));
  EXPECT_FALSE(file.childGroups().contains(ClassId));
  file.endGroup();
}

TEST_F(ControlFactoryTest, CreatesThroughEverySpellingOfTheIdentity)
{
  const QString spellings[] = {ProgId, ClassId, ClassId.toLower(),
                               ClassId.mid(1, ClassId.size() - 2)};
  for (const QString& id : spellings) {
    QWidget parent;
    IKoltRich* control = createControl(id, &parent);
    ASSERT_NE(control, nullptr) << id.toStdString();
    EXPECT_EQ(control->widget()->parentWidget(), &parent);
    // A screen that only kept the widget finds the interface again.
    EXPECT_EQ(qobject_cast<IKoltRich*>(control->widget()), control);
  }
  EXPECT_TRUE(m_ui->messages.isEmpty());
}

TEST_F(ControlFactoryTest, UnavailableControlGivesANoticeAndNoControl)
{
  QTemporaryDir dir;
  const QString missing = dir.filePath("libKoltRich.so");
  const QString notALibrary = dir.filePath("notalibrary.so");
  {
    QFile file(notALibrary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
  }
  auto registerPath = [](const QString& path) {
    ClassRegistry::registerClass(ProgId, ClassId, "KoltRich", path);
  };
  struct Case {
    const char* name;
    std::function<void()> arrange;
    QString id;
    QString expected;
  };
  const Case cases[] = {
      {"unregistered", [&] { unregisterServer(m_library); }, ProgId,
       "구성 요소(Kolt_Rich.KoltRich)가 이 컴퓨터에 등록되어 있지 않습니다." + Reinstall},
      {"unknown ProgID", [] {}, "Kolt_Rich.Other",
       "구성 요소(Kolt_Rich.Other)가 이 컴퓨터에 등록되어 있지 않습니다." + Reinstall},
      {"library file gone", [&] { registerPath(missing); }, ClassId,
       "구성 요소 파일(" + QDir::toNativeSeparators(missing) + ")을 찾을 수 없습니다." + Reinstall},
      {"not a library", [&] { registerPath(notALibrary); }, ProgId,
       "구성 요소 파일(" + QDir::toNativeSeparators(notALibrary) + ")을 불러올 수 없습니다." + Reinstall},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_ui->clear();
    c.arrange();
    QWidget parent;
    EXPECT_EQ(createControl(c.id, &parent), nullptr);
    ASSERT_EQ(m_ui->messages.size(), 1);
    EXPECT_EQ(m_ui->messages[0].text, c.expected);
    EXPECT_EQ(m_ui->messages[0].title, QStringLiteral("작업안내"));
    EXPECT_EQ(m_ui->messages[0].icon, Icon::Exclamation);
    EXPECT_TRUE(parent.findChildren<QWidget*>().isEmpty());
    ASSERT_EQ(registerServer(m_library), koltrich::S_Ok);
  }
}

TEST_F(ControlFactoryTest, ClassObjectOnlyForItsClassAndInterface)
{
  ComponentLibrary* library = ComponentLibrary::open(m_library);
  ASSERT_NE(library, nullptr);
  const QUuid classId = QUuid::fromString(ClassId);
  const QUuid factoryId = QUuid::fromString(QLatin1String(koltrich::ClassFactoryId));
  // The system's own class-factory identity must not get our factory.
  const QUuid systemFactoryId = QUuid::fromString(u"{00000001-0000-0000-C000-000000000046}");
  struct Case {
    QUuid classId;
    QUuid interfaceId;
    koltrich::HResult expected;
  };
  const Case cases[] = {
      {classId, factoryId, koltrich::S_Ok},
      {QUuid::createUuid(), factoryId, koltrich::Class_E_ClassNotAvailable},
      {classId, systemFactoryId, koltrich::E_NoInterface},
  };
  for (const Case& c : cases) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(library->classObject(c.classId, c.interfaceId, &object), c.expected);
    EXPECT_EQ(object != nullptr, c.expected == koltrich::S_Ok);
  }
}

TEST_F(ControlFactoryTest, LibraryMayUnloadOnlyWithoutLiveControls)
{
  ComponentLibrary* library = ComponentLibrary::open(m_library);
  ASSERT_NE(library, nullptr);
  ASSERT_EQ(library->canUnloadNow(), koltrich::S_Ok);
  auto* parent = new QWidget;
  ASSERT_NE(createControl(ProgId, parent), nullptr);
  EXPECT_EQ(library->canUnloadNow(), koltrich::S_False);
  delete parent;
  EXPECT_EQ(library->canUnloadNow(), koltrich::S_Ok);
}

} // namespace
