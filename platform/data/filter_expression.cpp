#include "platform/data/filter_expression.h"
#include "platform/data/errors.h"
#include "platform/format/format.h"
#include <vector>

namespace data {

namespace {

struct Value {
    enum Type { Null, Number, Text, Date, Bool } type = Null;
    double number = 0; // numbers, booleans, dates as julian days
    QString text;

    static Value num(double v) { return {Number, v, {}}; }
    static Value str(QString s) { return {Text, 0, std::move(s)}; }
    static Value boolean(bool b) { return {Bool, b ? 1.0 : 0.0, {}}; }
    bool truthy() const { return type != Null && number != 0; }
};

// Brings both sides to one type; false when they cannot be compared (the row does not match).
bool coerce(Value& a, Value& b) {
    if (a.type == b.type)
        return true;
    auto textTo = [](Value& t, Value::Type target) {
        if (target == Value::Number) {
            auto n = format::parseFloat(t.text);
            if (!n)
                return false;
            t = Value::num(*n);
            return true;
        }
        if (target == Value::Date) {
            auto d = format::parseDate(t.text);
            if (!d)
                return false;
            t = {Value::Date, double(d->toJulianDay()), {}};
            return true;
        }
        return false;
    };
    if (a.type == Value::Text)
        return textTo(a, b.type);
    if (b.type == Value::Text)
        return textTo(b, a.type);
    if ((a.type == Value::Bool || a.type == Value::Number) &&
        (b.type == Value::Bool || b.type == Value::Number))
        return true;
    return false;
}

int compareValues(const Value& a, const Value& b) {
    if (a.type == Value::Text)
        return a.text.compare(b.text);
    return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
}

bool (*comparisonTest(const QString& op))(int) {
    if (op == QLatin1String("="))
        return [](int c) { return c == 0; };
    if (op == QLatin1String("<>"))
        return [](int c) { return c != 0; };
    if (op == QLatin1String("<"))
        return [](int c) { return c < 0; };
    if (op == QLatin1String("<="))
        return [](int c) { return c <= 0; };
    if (op == QLatin1String(">"))
        return [](int c) { return c > 0; };
    return [](int c) { return c >= 0; };
}

} // namespace

QString quotedLiteral(QString text) {
    text.replace('\'', QStringLiteral("''"));
    return '\'' + text + '\'';
}

QString searchPattern(QString typed) {
    typed.replace('\\', QStringLiteral("\\\\"));
    typed.replace('_', QStringLiteral("\\_"));
    return quotedLiteral('%' + typed + '%');
}

bool likeMatch(QStringView text, QStringView pattern, QChar escape) {
    // Iterative matcher with backtracking to the last %. An escaped character stands for itself.
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        const bool escaped = !escape.isNull() && p + 1 < pattern.size() && pattern[p] == escape;
        const qsizetype width = escaped ? 2 : 1;
        const QChar wanted = p < pattern.size() ? pattern[p + width - 1] : QChar();
        if (p < pattern.size() && ((!escaped && wanted == u'_') || wanted == text[t])) {
            ++t;
            p += width;
        } else if (p < pattern.size() && !escaped && wanted == u'%') {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'%')
        ++p;
    return p == pattern.size();
}

struct FilterExpression::Node {
    enum Kind { Literal, FieldRef, Not, And, Or, Compare, Like, IsNull, In, Func } kind;
    Value literal;
    int field = -1;
    QString op;                   // comparison operator or function name
    bool (*holds)(int) = nullptr; // a comparison's test of compare()'s sign
    bool negate = false;
    std::vector<std::unique_ptr<Node>> args;

    // The column when this node sets a text column against a text literal; else nullptr.
    const Node* textColumnAgainstText(const ColumnStore& store) const {
        const Node* f = args[0].get();
        return f->kind == FieldRef && store.kind(f->field) == FieldKind::Text &&
                       args[1]->kind == Literal && args[1]->literal.type == Value::Text
                   ? f
                   : nullptr;
    }

    Value eval(const ColumnStore& store, RowId row) const {
        switch (kind) {
        case Literal:
            return literal;
        case FieldRef: {
            if (store.isNull(row, field))
                return {};
            switch (store.kind(field)) {
            case FieldKind::Integer:
                return Value::num(store.integer(row, field));
            case FieldKind::Float:
                return Value::num(store.real(row, field));
            case FieldKind::Text:
                return Value::str(store.text(row, field));
            case FieldKind::Date:
                return {Value::Date, double(store.date(row, field).toJulianDay()), {}};
            case FieldKind::Time:
                return Value::num(store.time(row, field).msecsSinceStartOfDay());
            case FieldKind::Blob:
                return Value::str(QString());
            }
            return {};
        }
        case Not: {
            Value v = args[0]->eval(store, row);
            return v.type == Value::Null ? Value{} : Value::boolean(!v.truthy());
        }
        case And: {
            for (const auto& a : args)
                if (!a->eval(store, row).truthy())
                    return Value::boolean(false);
            return Value::boolean(true);
        }
        case Or: {
            for (const auto& a : args)
                if (a->eval(store, row).truthy())
                    return Value::boolean(true);
            return Value::boolean(false);
        }
        case Compare: {
            // A text column against a text written in the filter, the searches' usual case, is
            // compared in place: no copy of either text per row.
            if (const Node* f = textColumnAgainstText(store)) {
                if (store.isNull(row, f->field))
                    return Value::boolean(false);
                return Value::boolean(
                    holds(store.textView(row, f->field).compare(args[1]->literal.text)));
            }
            Value a = args[0]->eval(store, row), b = args[1]->eval(store, row);
            if (a.type == Value::Null || b.type == Value::Null || !coerce(a, b))
                return Value::boolean(false);
            return Value::boolean(holds(compareValues(a, b)));
        }
        case Like: {
            QChar escape;
            if (args.size() > 2) {
                const Value e = args[2]->eval(store, row);
                escape = e.type == Value::Text && !e.text.isEmpty() ? e.text[0] : QChar();
            }
            if (const Node* f = textColumnAgainstText(store)) {
                if (store.isNull(row, f->field))
                    return Value::boolean(false);
                return Value::boolean(likeMatch(store.textView(row, f->field),
                                                args[1]->literal.text, escape) != negate);
            }
            Value a = args[0]->eval(store, row), b = args[1]->eval(store, row);
            if (a.type == Value::Null || b.type == Value::Null)
                return Value::boolean(false);
            const QString text = a.type == Value::Text ? a.text : format::floatToStr(a.number);
            return Value::boolean(likeMatch(text, b.text, escape) != negate);
        }
        case IsNull: {
            Value a = args[0]->eval(store, row);
            const bool empty = a.type == Value::Null || (a.type == Value::Text && a.text.isEmpty());
            return Value::boolean(empty != negate);
        }
        case In: {
            Value a = args[0]->eval(store, row);
            if (a.type == Value::Null)
                return Value::boolean(false);
            bool found = false;
            for (std::size_t i = 1; i < args.size() && !found; ++i) {
                Value x = a, y = args[i]->eval(store, row);
                found = y.type != Value::Null && coerce(x, y) && compareValues(x, y) == 0;
            }
            return Value::boolean(found != negate);
        }
        case Func: {
            Value a = args[0]->eval(store, row);
            if (a.type != Value::Text)
                return a;
            if (op == "UPPER")
                a.text = a.text.toUpper();
            else if (op == "LOWER")
                a.text = a.text.toLower();
            else if (op == "TRIM")
                a.text = a.text.trimmed();
            return a;
        }
        }
        return {};
    }
};

namespace {

struct Token {
    enum Type { End, Name, Number, String, Symbol } type = End;
    QString text;
};

class Parser {
public:
    Parser(const QString& text, const std::function<int(const QString&)>& fieldIndex)
        : text_(text), fieldIndex_(fieldIndex) {
        advance();
    }

    std::unique_ptr<FilterExpression::Node> parse() {
        auto node = parseOr();
        if (tok_.type != Token::End)
            error();
        return node;
    }

private:
    using NodePtr = std::unique_ptr<FilterExpression::Node>;
    using N = FilterExpression::Node;

    [[noreturn]] void error() const {
        throw DataError(QStringLiteral("Expressão de filtro inválida: %1").arg(text_));
    }

    static NodePtr make(N::Kind kind) {
        auto n = std::make_unique<N>();
        n->kind = kind;
        return n;
    }

    bool isKeyword(const char* word) const {
        return tok_.type == Token::Name &&
               tok_.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(const char* s) const {
        return tok_.type == Token::Symbol && tok_.text == QLatin1String(s);
    }
    void expectSymbol(const char* s) {
        if (!isSymbol(s))
            error();
        advance();
    }

    void advance() {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        tok_ = {};
        if (pos_ >= text_.size())
            return;
        const QChar c = text_[pos_];
        if (c == '\'' || c == '"') {
            const QChar quote = c;
            QString s;
            ++pos_;
            for (;;) {
                if (pos_ >= text_.size())
                    error();
                if (text_[pos_] == quote) {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == quote) {
                        s += quote;
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                s += text_[pos_++];
            }
            // Double quotes name a field, as in SQL.
            tok_ = {quote == '\'' ? Token::String : Token::Name, s};
        } else if (c == '[') {
            const qsizetype end = text_.indexOf(']', pos_);
            if (end < 0)
                error();
            tok_ = {Token::Name, text_.mid(pos_ + 1, end - pos_ - 1)};
            pos_ = end + 1;
        } else if (c.isDigit() ||
                   (c == '.' && pos_ + 1 < text_.size() && text_[pos_ + 1].isDigit())) {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && (text_[pos_].isDigit() || text_[pos_] == '.'))
                ++pos_;
            tok_ = {Token::Number, text_.mid(start, pos_ - start)};
        } else if (c.isLetter() || c == '_') {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && (text_[pos_].isLetterOrNumber() || text_[pos_] == '_'))
                ++pos_;
            tok_ = {Token::Name, text_.mid(start, pos_ - start)};
        } else {
            static const char* two[] = {"<>", "<=", ">=", "!="};
            for (const char* t : two) {
                if (text_.mid(pos_, 2) == QLatin1String(t)) {
                    tok_ = {Token::Symbol, QString::fromLatin1(t) == "!=" ? QStringLiteral("<>")
                                                                          : QString::fromLatin1(t)};
                    pos_ += 2;
                    return;
                }
            }
            if (QStringLiteral("=<>(),-").contains(c)) {
                tok_ = {Token::Symbol, QString(c)};
                ++pos_;
                return;
            }
            error();
        }
    }

    NodePtr parseOr() {
        auto left = parseAnd();
        if (!isKeyword("OR"))
            return left;
        auto node = make(N::Or);
        node->args.push_back(std::move(left));
        while (isKeyword("OR")) {
            advance();
            node->args.push_back(parseAnd());
        }
        return node;
    }

    NodePtr parseAnd() {
        auto left = parseNot();
        if (!isKeyword("AND"))
            return left;
        auto node = make(N::And);
        node->args.push_back(std::move(left));
        while (isKeyword("AND")) {
            advance();
            node->args.push_back(parseNot());
        }
        return node;
    }

    NodePtr parseNot() {
        if (isKeyword("NOT")) {
            advance();
            auto node = make(N::Not);
            node->args.push_back(parseNot());
            return node;
        }
        return parseComparison();
    }

    NodePtr parseComparison() {
        auto left = parsePrimary();
        bool negate = false;
        if (isKeyword("NOT")) {
            negate = true;
            advance();
            if (!isKeyword("LIKE") && !isKeyword("IN"))
                error();
        }
        if (isKeyword("LIKE")) {
            advance();
            auto node = make(N::Like);
            node->negate = negate;
            node->args.push_back(std::move(left));
            node->args.push_back(parsePrimary());
            if (isKeyword("ESCAPE")) {
                advance();
                node->args.push_back(parsePrimary());
            }
            return node;
        }
        if (isKeyword("IN")) {
            advance();
            auto node = make(N::In);
            node->negate = negate;
            node->args.push_back(std::move(left));
            expectSymbol("(");
            node->args.push_back(parsePrimary());
            while (isSymbol(",")) {
                advance();
                node->args.push_back(parsePrimary());
            }
            expectSymbol(")");
            return node;
        }
        if (isKeyword("IS")) {
            advance();
            auto node = make(N::IsNull);
            if (isKeyword("NOT")) {
                node->negate = true;
                advance();
            }
            if (!isKeyword("NULL"))
                error();
            advance();
            node->args.push_back(std::move(left));
            return node;
        }
        for (const char* op : {"=", "<>", "<=", ">=", "<", ">"}) {
            if (isSymbol(op)) {
                advance();
                auto node = make(N::Compare);
                node->op = QString::fromLatin1(op);
                node->holds = comparisonTest(node->op);
                node->args.push_back(std::move(left));
                node->args.push_back(parsePrimary());
                return node;
            }
        }
        return left;
    }

    NodePtr parsePrimary() {
        if (isSymbol("(")) {
            advance();
            auto node = parseOr();
            expectSymbol(")");
            return node;
        }
        if (isSymbol("-")) {
            advance();
            if (tok_.type != Token::Number)
                error();
            tok_.text.prepend('-');
        }
        if (tok_.type == Token::Number) {
            bool ok = false;
            const double v = tok_.text.toDouble(&ok);
            if (!ok)
                error();
            auto node = make(N::Literal);
            node->literal = Value::num(v);
            advance();
            return node;
        }
        if (tok_.type == Token::String) {
            auto node = make(N::Literal);
            node->literal = Value::str(tok_.text);
            advance();
            return node;
        }
        if (tok_.type != Token::Name)
            error();
        const QString name = tok_.text;
        advance();
        const QString upper = name.toUpper();
        if (isSymbol("(") && (upper == "UPPER" || upper == "LOWER" || upper == "TRIM")) {
            advance();
            auto node = make(N::Func);
            node->op = upper;
            node->args.push_back(parseOr());
            expectSymbol(")");
            return node;
        }
        if (upper == "NULL")
            return make(N::Literal);
        if (upper == "TRUE" || upper == "FALSE") {
            auto node = make(N::Literal);
            node->literal = Value::boolean(upper == "TRUE");
            return node;
        }
        const int index = fieldIndex_(name);
        if (index < 0)
            throw DataError(QStringLiteral("O campo %1 do filtro não existe.").arg(name));
        auto node = make(N::FieldRef);
        node->field = index;
        return node;
    }

    QString text_;
    const std::function<int(const QString&)>& fieldIndex_;
    qsizetype pos_ = 0;
    Token tok_;
};

} // namespace

FilterExpression::FilterExpression(const QString& text,
                                   const std::function<int(const QString&)>& fieldIndex) {
    root_ = Parser(text, fieldIndex).parse();
}

FilterExpression::~FilterExpression() = default;

bool FilterExpression::matches(const ColumnStore& store, RowId row) const {
    return root_->eval(store, row).truthy();
}

} // namespace data
