#include "common/db/RecordFilter.h"

#include "common/RuntimeError.h"

#include <vector>

namespace vcm {

// AND and OR hold all the terms of a chain side by side, so a long chain adds no depth:
// only parentheses do, and their depth is limited (parsing, matching and freeing the
// tree all recurse).
struct RecordFilter::Node {
  enum Kind { Compare, And, Or } kind = Compare;
  QString column;
  QString value;
  std::vector<std::shared_ptr<const Node>> terms;
};

namespace {

constexpr int kMaxParentheses = 100;

[[noreturn]] void bad(const QString& expression)
{
  throw RuntimeError(errors::kProvider,
                     QStringLiteral("필터 식이 올바르지 않습니다: ") + expression);
}

[[noreturn]] void tooDeep()
{
  throw RuntimeError(errors::kProvider,
                     QStringLiteral("필터 식의 괄호가 너무 깊게 겹쳐 있습니다. 괄호는 %1단계까지 "
                                    "쓸 수 있습니다.").arg(kMaxParentheses));
}

struct Token {
  enum Kind { Word, Text, Equals, LParen, RParen, End } kind;
  QString text;
};

std::vector<Token> tokenize(const QString& s)
{
  std::vector<Token> out;
  qsizetype i = 0;
  const qsizetype n = s.size();
  while (i < n) {
    const QChar c = s.at(i);
    if (c.isSpace()) {
      ++i;
    } else if (c == QLatin1Char('=')) {
      out.push_back({Token::Equals, {}});
      ++i;
    } else if (c == QLatin1Char('(')) {
      out.push_back({Token::LParen, {}});
      ++i;
    } else if (c == QLatin1Char(')')) {
      out.push_back({Token::RParen, {}});
      ++i;
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('#')) {
      const QChar quote = c;
      QString text;
      ++i;
      bool closed = false;
      while (i < n) {
        if (s.at(i) == quote) {
          if (quote == QLatin1Char('\'') && i + 1 < n && s.at(i + 1) == quote) {
            text += quote;
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        text += s.at(i++);
      }
      if (!closed)
        bad(s);
      out.push_back({Token::Text, text});
    } else {
      QString word;
      while (i < n && !s.at(i).isSpace() && s.at(i) != QLatin1Char('=') &&
             s.at(i) != QLatin1Char('(') && s.at(i) != QLatin1Char(')') &&
             s.at(i) != QLatin1Char('\''))
        word += s.at(i++);
      out.push_back({Token::Word, word});
    }
  }
  out.push_back({Token::End, {}});
  return out;
}

class Parser {
public:
  Parser(const QString& source) : m_source(source), m_tokens(tokenize(source)) {}

  std::shared_ptr<const RecordFilter::Node> parseAll()
  {
    auto node = parseOr();
    if (peek().kind != Token::End)
      bad(m_source);
    return node;
  }

private:
  using NodePtr = std::shared_ptr<const RecordFilter::Node>;

  const Token& peek() const { return m_tokens[m_pos]; }
  const Token& next() { return m_tokens[m_pos++]; }
  bool keyword(const char* word) const
  {
    return peek().kind == Token::Word && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
  }

  /// Terms joined by `word`; one term stands for itself.
  NodePtr parseChain(RecordFilter::Node::Kind kind, const char* word, NodePtr (Parser::*term)())
  {
    NodePtr first = (this->*term)();
    if (!keyword(word))
      return first;
    auto chain = std::make_shared<RecordFilter::Node>();
    chain->kind = kind;
    chain->terms.push_back(std::move(first));
    while (keyword(word)) {
      next();
      chain->terms.push_back((this->*term)());
    }
    return chain;
  }

  NodePtr parseOr() { return parseChain(RecordFilter::Node::Or, "OR", &Parser::parseAnd); }
  NodePtr parseAnd() { return parseChain(RecordFilter::Node::And, "AND", &Parser::parsePrimary); }

  NodePtr parsePrimary()
  {
    if (peek().kind == Token::LParen) {
      next();
      if (++m_depth > kMaxParentheses)
        tooDeep();
      NodePtr inner = parseOr();
      if (next().kind != Token::RParen)
        bad(m_source);
      --m_depth;
      return inner;
    }
    const Token column = next();
    if (column.kind != Token::Word || keyword("AND") || keyword("OR"))
      bad(m_source);
    if (next().kind != Token::Equals)
      bad(m_source);
    const Token value = next();
    if (value.kind != Token::Text && value.kind != Token::Word)
      bad(m_source);
    auto n = std::make_shared<RecordFilter::Node>();
    n->kind = RecordFilter::Node::Compare;
    n->column = column.text;
    n->value = value.text;
    return n;
  }

  QString m_source;
  std::vector<Token> m_tokens;
  size_t m_pos = 0;
  int m_depth = 0;
};

bool evaluate(const RecordFilter::Node& node, const RecordFilter::Lookup& lookup)
{
  switch (node.kind) {
  case RecordFilter::Node::And:
    for (const auto& term : node.terms)
      if (!evaluate(*term, lookup))
        return false;
    return true;
  case RecordFilter::Node::Or:
    for (const auto& term : node.terms)
      if (evaluate(*term, lookup))
        return true;
    return false;
  case RecordFilter::Node::Compare:
    break;
  }
  QString actual;
  if (!lookup(node.column, &actual))
    throw RuntimeError(errors::kItemNotFound,
                       QStringLiteral("요청한 이름이나 서수에 해당하는 항목이 컬렉션에 없습니다. (") +
                           node.column + QLatin1Char(')'));
  return actual.compare(node.value, Qt::CaseInsensitive) == 0;
}

} // namespace

RecordFilter RecordFilter::parse(const QString& expression)
{
  RecordFilter f;
  f.m_root = Parser(expression).parseAll();
  return f;
}

bool RecordFilter::matches(const Lookup& lookup) const
{
  return m_root ? evaluate(*m_root, lookup) : true;
}

} // namespace vcm
