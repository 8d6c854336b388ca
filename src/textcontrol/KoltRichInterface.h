#pragma once

// The one contract between the program and the KoltRich control library. Both sides
// include this header and nothing else of each other: the program never links the
// library, it loads it through the class identity recorded at registration time.
// Header only, no moc: everything here must be usable from either binary.

#include <QFont>
#include <QObject>
#include <QString>
#include <QUuid>
#include <QVariantMap>

#include <cstdint>
#include <functional>

class QWidget;

namespace vcm {

namespace koltrich {

/// Class identity the screens bind to.
inline constexpr char ProgId[] = "Kolt_Rich.KoltRich";
inline constexpr char ClassId[] = "{A725C546-9F14-4F2E-B34B-7329A4A324D9}";
/// Identity of IKoltRich (the control's default interface).
inline constexpr char InterfaceId[] = "{A1387F60-EF31-4B85-90BA-B7BC37E21B8B}";
/// Identity of the event interface (KoltRichEvents).
inline constexpr char EventInterfaceId[] = "{77F00C9B-2CD6-4F1E-9351-03CDF02204D9}";
/// Identity of IKoltRichClassFactory, the class object DllGetClassObject hands out.
/// Deliberately not the system's class-factory identity: a foreign caller asking for that
/// gets E_NOINTERFACE instead of a pointer it would misuse.
inline constexpr char ClassFactoryId[] = "{455EDC01-168D-407D-9741-E1AE44F90486}";

/// Name and description written at registration.
inline constexpr char ClassName[] = "KoltRich";

/// Result codes of the library entry points, with the values a Windows host expects.
using HResult = std::int32_t;
inline constexpr HResult S_Ok = 0;
inline constexpr HResult S_False = 1;
inline constexpr HResult E_NoInterface = static_cast<HResult>(0x80004002u);
inline constexpr HResult E_Pointer = static_cast<HResult>(0x80004003u);
inline constexpr HResult Class_E_ClassNotAvailable = static_cast<HResult>(0x80040111u);
inline constexpr HResult SelfReg_E_Class = static_cast<HResult>(0x80040201u);

#if defined(_WIN32) && !defined(_WIN64)
#define KOLTRICH_STDCALL __stdcall
#else
#define KOLTRICH_STDCALL
#endif

// Exported entry points. QUuid has the memory layout of the system's GUID, so the
// signatures match what a component host on Windows calls.
using DllRegisterServerFn = HResult(KOLTRICH_STDCALL*)();
using DllUnregisterServerFn = HResult(KOLTRICH_STDCALL*)();
using DllGetClassObjectFn = HResult(KOLTRICH_STDCALL*)(const QUuid* classId,
                                                       const QUuid* interfaceId, void** object);
using DllCanUnloadNowFn = HResult(KOLTRICH_STDCALL*)();

} // namespace koltrich

/// `Border_Style` of the control's rectangle. Hidden from moc, whose parser does not
/// read Korean identifiers; classes it reads only name the type.
#ifndef Q_MOC_RUN
enum class Border_Style : std::int16_t { 없음 = 0, 단일고정 = 1 };
#else
enum class Border_Style : std::int16_t;
#endif

/// A colour as the screens store it: 0x00BBGGRR, or 0x800000nn for a system colour
/// (0x8000000F button face, 0x80000005 window, 0x80000008 window text).
using OleColor = std::uint32_t;

/// Handlers the host sets for the control's events. Arguments are references: a handler
/// that changes KeyCode, Shift or KeyAscii changes what the text box receives, and
/// KeyAscii = 0 keeps the character out. Key codes are virtual-key numbers (Enter 13,
/// Delete 46, 'A' 65); KeyAscii is the character code (Enter 13, backspace 8, Ctrl+C 3,
/// Ctrl+V 22; characters outside ASCII arrive as their 16-bit code). Shift is a mask:
/// 1 Shift, 2 Ctrl, 4 Alt. Button is a mask: 1 left, 2 right, 4 middle. x and y are in
/// twips from the inner text box's top left corner. Unset handlers are skipped.
struct KoltRichEvents {
  std::function<void()> Change;
  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void(short& KeyCode, short& Shift)> KeyDown;
  std::function<void(short& KeyAscii)> KeyPress;
  std::function<void(short& KeyCode, short& Shift)> KeyUp;
  std::function<void(short& Button, short& Shift, float& x, float& y)> MouseDown;
  std::function<void(short& Button, short& Shift, float& x, float& y)> MouseMove;
  std::function<void(short& Button, short& Shift, float& x, float& y)> MouseUp;
  /// Every property write reports the property's name here, so the host knows its saved
  /// design is out of date.
  std::function<void(const QString& name)> PropertyChanged;
};

/// The KoltRich control as the program sees it. The object is a QWidget (widget());
/// it belongs to its parent and dies with it. Properties are read with Name() and
/// written with SetName(); all of them act on the inner text box or the rectangle.
class IKoltRich {
public:
  virtual ~IKoltRich() = default;

  /// The control itself, for geometry, visibility, focus and object name. Size it with
  /// widget()->resize(); the inner box follows.
  virtual QWidget* widget() = 0;

  virtual KoltRichEvents& events() = 0;

  /// Always 0: the input mode is an action on the keyboard, not a stored value.
  virtual short ImeMode() const = 0;
  /// 1 switches the keyboard to Korean (native) input, anything else to alphanumeric.
  virtual void SetImeMode(short mode) = 0;

  /// Text colour at the selection.
  virtual OleColor ForeColor() const = 0;
  /// Colours as many characters from the start as the text has without its leading and
  /// trailing blanks, and what is typed into an empty box.
  virtual void SetForeColor(OleColor color) = 0;

  virtual OleColor BackColor() const = 0;
  virtual void SetBackColor(OleColor color) = 0;

  virtual OleColor BorderColor() const = 0;
  virtual void SetBorderColor(OleColor color) = 0;

  /// Reading also repaints the background for the state (white or light grey).
  virtual bool Enabled() = 0;
  virtual void SetEnabled(bool enabled) = 0;

  virtual bool Locked() const = 0;
  virtual void SetLocked(bool locked) = 0;

  virtual QFont Font() const = 0;
  virtual void SetFont(const QFont& font) = 0;

  virtual QString Text() const = 0;
  virtual void SetText(const QString& text) = 0;

  virtual QString ToolTipText() const = 0;
  virtual void SetToolTipText(const QString& text) = 0;

  virtual int SelStart() const = 0;
  virtual void SetSelStart(int start) = 0;

  virtual QString SelText() const = 0;
  virtual void SetSelText(const QString& text) = 0;

  virtual int SelLength() const = 0;
  virtual void SetSelLength(int length) = 0;

  /// Longest text the user can type or paste; 0 = no limit. Text set by the program is
  /// not cut.
  virtual int MaxLength() const = 0;
  virtual void SetMaxLength(int length) = 0;

  virtual Border_Style BorderStyle() const = 0;
  virtual void SetBorderStyle(Border_Style style) = 0;

  /// Paragraph alignment at the selection: 0 left, 1 right, 2 centre.
  virtual int SelAlignment() const = 0;
  virtual void SetSelAlignment(int alignment) = 0;

  /// Loads the design's saved properties; absent ones take their defaults (a missing
  /// "Text" gives "txtR", a missing "Font" the parent's font).
  virtual void ReadProperties(const QVariantMap& bag) = 0;
  /// The properties that differ from their defaults, for the host to keep with its design.
  virtual QVariantMap WriteProperties() const = 0;
};

/// The class object: makes new controls.
class IKoltRichClassFactory {
public:
  /// A new control owned by `parent`, in its default state.
  virtual IKoltRich* CreateInstance(QWidget* parent) = 0;

protected:
  ~IKoltRichClassFactory() = default;
};

} // namespace vcm

// Lets the host find the interface on a control it only knows as a QWidget:
// qobject_cast<vcm::IKoltRich*>(widget).
Q_DECLARE_INTERFACE(vcm::IKoltRich, "{A1387F60-EF31-4B85-90BA-B7BC37E21B8B}")
