#include "common/screen/TelephoneFormatter.h"

namespace vcm {

namespace {

QString withoutHyphens(QString s)
{
  return s.remove(QLatin1Char('-'));
}

TelephoneKeyResult replaceWith(const QString& text)
{
  return {TelephoneKeyResult::Action::Replace, text};
}

// 050x numbers: a four-digit prefix, then groups of three or four.
QString format050(const QString& digits, QChar ch)
{
  const int n = int(digits.size());
  if (n == 3)
    return digits + ch + QLatin1Char('-');
  if (n <= 6)
    return digits.left(4) + QLatin1Char('-') + digits.mid(4) + ch;
  if (n <= 10)
    return digits.left(4) + QLatin1Char('-') + digits.mid(4, 3) + QLatin1Char('-') + digits.mid(7) + ch;
  return digits.left(4) + QLatin1Char('-') + digits.mid(4, 4) + QLatin1Char('-') + digits.mid(8) + ch;
}

} // namespace

TelephoneKeyResult formatTelephoneKey(const QString& text, int selectionStart, int selectionLength,
                                      int key)
{
  using Action = TelephoneKeyResult::Action;
  if (selectionStart > 0 && selectionLength > 0)
    return {Action::PassThrough, {}};
  if (key < '0' || key > '9')
    return {key == 8 ? Action::PassThrough : Action::Swallow, {}};

  const QChar ch(key);
  const QString trimmed = text.trimmed();
  if (text.isEmpty() || selectionStart == 0)
    return replaceWith(QString(ch));
  if (text == QLatin1String("0") && ch == QLatin1Char('2'))
    return replaceWith(QStringLiteral("02-"));
  const QString plain = withoutHyphens(text);
  if (plain.size() == 2 && plain != QLatin1String("02"))
    return replaceWith(text + ch + QLatin1Char('-'));
  if (trimmed.startsWith(QLatin1String("050")))
    return replaceWith(format050(plain.trimmed(), ch));
  if (trimmed.size() <= 5)
    return replaceWith(text + ch);

  const int hyphen = int(text.indexOf(QLatin1Char('-')));
  if (hyphen < 0)
    return {Action::PassThrough, {}};
  const QString head = text.left(hyphen + 1);
  const QString rest = withoutHyphens(text.mid(hyphen + 1));
  if (rest.size() >= 4 && rest.size() <= 6)
    return replaceWith(head + rest.left(3) + QLatin1Char('-') + rest.mid(3) + ch);
  if (rest.size() == 7)
    return replaceWith(head + rest.left(4) + QLatin1Char('-') + rest.mid(4) + ch);
  return replaceWith(text + ch);
}

} // namespace vcm
