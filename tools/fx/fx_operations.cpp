#include "fx_operations.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>

#include "imaging/codec.h"
#include "imaging/filter.h"
#include "imaging/image_service.h"

namespace vimora::fx {

QString kindName(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Number:
        return "number";
    case ValueKind::Integer:
        return "integer";
    case ValueKind::Point:
        return "point x,y";
    case ValueKind::Size:
        return "size w,h";
    case ValueKind::Rectangle:
        return "rectangle x,y,w,h";
    case ValueKind::Transform:
        return "transform a,b,c,d,tx,ty";
    case ValueKind::Numbers:
        return "numbers n1,n2,...";
    case ValueKind::Picture:
        return "picture file";
    }
    return {};
}

// --- Arguments ------------------------------------------------------------------------------

const Value *Arguments::find(const std::string &name) const
{
    const auto it = m_values.find(name);
    return it == m_values.end() ? nullptr : &it->second;
}

double Arguments::number(const std::string &name, double fallback) const
{
    const Value *v = find(name);
    if (const double *d = v ? std::get_if<double>(v) : nullptr)
        return *d;
    return fallback;
}

long long Arguments::integer(const std::string &name, long long fallback) const
{
    const Value *v = find(name);
    if (const long long *i = v ? std::get_if<long long>(v) : nullptr)
        return *i;
    return fallback;
}

QPointF Arguments::point(const std::string &name, QPointF fallback) const
{
    const Value *v = find(name);
    if (const QPointF *p = v ? std::get_if<QPointF>(v) : nullptr)
        return *p;
    return fallback;
}

QSizeF Arguments::size(const std::string &name, QSizeF fallback) const
{
    const Value *v = find(name);
    if (const QSizeF *s = v ? std::get_if<QSizeF>(v) : nullptr)
        return *s;
    return fallback;
}

std::vector<double> Arguments::numbers(const std::string &name) const
{
    const Value *v = find(name);
    if (const auto *n = v ? std::get_if<std::vector<double>>(v) : nullptr)
        return *n;
    return {};
}

Picture Arguments::picture(const std::string &name) const
{
    const Value *v = find(name);
    if (const Picture *p = v ? std::get_if<Picture>(v) : nullptr)
        return *p;
    return {};
}

const OperationParam *Operation::param(const std::string &key) const
{
    for (const OperationParam &p : params)
        if (p.name == key)
            return &p;
    return nullptr;
}

// --- the table ------------------------------------------------------------------------------

namespace {

QString numberText(double v)
{
    return QString::number(v, 'g', 6);
}

ValueKind valueKindOf(ParamKind kind)
{
    switch (kind) {
    case ParamKind::Number:
        return ValueKind::Number;
    case ParamKind::Point:
        return ValueKind::Point;
    case ParamKind::Rectangle:
        return ValueKind::Rectangle;
    case ParamKind::Transform:
        return ValueKind::Transform;
    case ParamKind::Image:
        return ValueKind::Picture;
    }
    return ValueKind::Number;
}

std::string fallbackText(const ParamInfo &p)
{
    const auto &f = p.fallback;
    switch (p.kind) {
    case ParamKind::Number:
        return (numberText(f[0]) + (p.maximum > p.minimum
                                        ? QStringLiteral(" (%1..%2)").arg(numberText(p.minimum), numberText(p.maximum))
                                        : QString()))
            .toStdString();
    case ParamKind::Point:
        return (numberText(f[0]) + "," + numberText(f[1])).toStdString();
    case ParamKind::Rectangle:
        return std::abs(f[2]) > 1e300 ? "the whole plane"
                                      : QStringLiteral("%1,%2,%3,%4")
                                            .arg(numberText(f[0]), numberText(f[1]), numberText(f[2]), numberText(f[3]))
                                            .toStdString();
    case ParamKind::Transform:
        return "1,0,0,1,0,0";
    case ParamKind::Image:
        return {};
    }
    return {};
}

std::optional<ParamValue> toParamValue(const Value &v)
{
    if (const double *d = std::get_if<double>(&v))
        return ParamValue(*d);
    if (const QPointF *p = std::get_if<QPointF>(&v))
        return ParamValue(*p);
    if (const QRectF *r = std::get_if<QRectF>(&v))
        return ParamValue(*r);
    if (const QTransform *t = std::get_if<QTransform>(&v))
        return ParamValue(*t);
    if (const Picture *p = std::get_if<Picture>(&v))
        return ParamValue(*p);
    return std::nullopt;
}

std::vector<Operation> serviceOperations()
{
    std::vector<Operation> ops;
    for (const FilterEntry &entry : imageServiceCatalogue()) {
        Operation op;
        op.name = std::string(entry.name);
        op.family = entry.param("inputBackgroundImage") || entry.param("inputTargetImage") ? "blend" : "filter";
        op.description = std::string(entry.description);
        for (const ParamInfo &p : entry.params) {
            if (p.key == "inputImage")
                continue;
            op.params.push_back({std::string(p.key), valueKindOf(p.kind), fallbackText(p), p.kind == ParamKind::Image,
                                 std::string(p.description)});
        }
        const std::string name = op.name;
        op.run = [name](const Picture &input, const Arguments &args) {
            ImageFilter filter(name);
            filter.setValue("inputImage", input);
            for (const auto &[key, value] : args.values()) {
                const std::optional<ParamValue> v = toParamValue(value);
                if (!v || !filter.setValue(key, *v))
                    return Picture();
            }
            return filter.renderForWrapper();
        };
        ops.push_back(std::move(op));
    }
    return ops;
}

std::vector<Operation> byteEffectOperations()
{
    const Filter filter;
    auto integer = [](const char *name, const char *fallback, const char *description) {
        return OperationParam{name, ValueKind::Integer, fallback, false, description};
    };
    return {
        {"doImageStuff", "byte effect", "moves colour samples towards black (v < 0) or white (v > 0)",
         {{"v", ValueKind::Number, "0 (-1..1)", false, "strength"}},
         [filter](const Picture &p, const Arguments &a) { return filter.doImageStuff(float(a.number("v", 0)), p); }},
        {"imageProcess", "byte effect", "the picture as an opaque gray plane", {},
         [filter](const Picture &p, const Arguments &) { return filter.imageProcess(p); }},
        {"contrast", "byte effect", "clamp((c - 128) k + 128)", {integer("k", "1", "contrast factor")},
         [filter](const Picture &p, const Arguments &a) { return filter.contrast(int(a.integer("k", 1)), p); }},
        {"contrast2", "byte effect", "clamp((c - 128) k / 0.1 + 128)", {integer("k", "1", "contrast factor")},
         [filter](const Picture &p, const Arguments &a) { return filter.contrast2(int(a.integer("k", 1)), p); }},
        {"contrast9", "byte effect", "clamp((c - 128) number / 100 + 128)",
         {integer("number", "100", "contrast in percent")},
         [filter](const Picture &p, const Arguments &a) { return filter.contrast9(p, int(a.integer("number", 100))); }},
        {"contrast10", "byte effect", "keeps pure white, turns everything else black",
         {integer("number", "0", "not used")},
         [filter](const Picture &p, const Arguments &a) { return filter.contrast10(p, int(a.integer("number", 0))); }},
        {"fixImage", "byte effect", "gray 0.3 red + 0.59 green + 0.11 blue in all three samples", {},
         [filter](const Picture &p, const Arguments &) { return filter.fixImage(p); }},
    };
}

} // namespace

const std::vector<Operation> &operations()
{
    static const std::vector<Operation> all = [] {
        std::vector<Operation> ops = serviceOperations();
        for (auto family : {byteEffectOperations, libraryOperations})
            for (Operation &op : family())
                ops.push_back(std::move(op));
        return ops;
    }();
    return all;
}

const Operation *findOperation(const std::string &name)
{
    for (const Operation &op : operations())
        if (op.name == name)
            return &op;
    return nullptr;
}

// --- parsing --------------------------------------------------------------------------------

namespace {

std::optional<std::vector<double>> numberList(const QString &text, int count)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (count > 0 && parts.size() != count)
        return std::nullopt;
    std::vector<double> values;
    for (const QString &part : parts) {
        bool ok = false;
        const double v = part.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return std::nullopt;
        values.push_back(v);
    }
    return values;
}

} // namespace

std::optional<Value> parseValue(ValueKind kind, const QString &text, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<Value> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString expected = QStringLiteral("expected a %1").arg(kindName(kind));
    switch (kind) {
    case ValueKind::Number: {
        const auto v = numberList(text, 1);
        return v ? std::optional<Value>((*v)[0]) : fail(expected);
    }
    case ValueKind::Integer: {
        bool ok = false;
        const long long v = text.trimmed().toLongLong(&ok);
        return ok ? std::optional<Value>(v) : fail(expected);
    }
    case ValueKind::Point: {
        const auto v = numberList(text, 2);
        return v ? std::optional<Value>(QPointF((*v)[0], (*v)[1])) : fail(expected);
    }
    case ValueKind::Size: {
        QString t = text;
        t.replace(QLatin1Char('x'), QLatin1Char(','));
        const auto v = numberList(t, 2);
        return v ? std::optional<Value>(QSizeF((*v)[0], (*v)[1])) : fail(expected);
    }
    case ValueKind::Rectangle: {
        const auto v = numberList(text, 4);
        return v ? std::optional<Value>(QRectF((*v)[0], (*v)[1], (*v)[2], (*v)[3])) : fail(expected);
    }
    case ValueKind::Transform: {
        const auto v = numberList(text, 6);
        if (!v)
            return fail(expected);
        const auto &m = *v;
        return Value(QTransform(m[0], m[1], m[2], m[3], m[4], m[5]));
    }
    case ValueKind::Numbers: {
        const auto v = numberList(text, 0);
        return v ? std::optional<Value>(*v) : fail(expected);
    }
    case ValueKind::Picture: {
        const PictureRead read = readPictureChecked(text);
        if (read.failure == ReadFailure::TooLarge)
            return fail(QStringLiteral("'%1': %2").arg(text, pictureTooLargeMessage(read.size)));
        if (read.picture.isNull())
            return fail(QStringLiteral("cannot read picture '%1'").arg(text));
        return Value(read.picture);
    }
    }
    return fail(expected);
}

std::optional<Arguments> parseArguments(const Operation &operation, const QStringList &words, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<Arguments> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString op = QString::fromStdString(operation.name);
    std::vector<const OperationParam *> pictures;
    for (const OperationParam &p : operation.params)
        if (p.kind == ValueKind::Picture)
            pictures.push_back(&p);

    Arguments args;
    for (const QString &word : words) {
        const qsizetype eq = word.indexOf(QLatin1Char('='));
        const OperationParam *param = nullptr;
        QString text;
        if (eq < 0) {
            if (pictures.size() != 1)
                return fail(QStringLiteral("expected name=value, got '%1'").arg(word));
            param = pictures.front();
            text = word;
        } else {
            const std::string key = word.left(eq).trimmed().toStdString();
            param = operation.param(key);
            if (!param)
                return fail(QStringLiteral("%1 has no parameter '%2' (see vimora-fx --list)")
                                .arg(op, QString::fromStdString(key)));
            text = word.mid(eq + 1);
        }
        QString why;
        std::optional<Value> value = parseValue(param->kind, text, &why);
        if (!value)
            return fail(QStringLiteral("bad value '%1' for %2: %3").arg(text, QString::fromStdString(param->name), why));
        args.set(param->name, std::move(*value));
    }
    for (const OperationParam &p : operation.params)
        if (p.required && !args.has(p.name))
            return fail(QStringLiteral("%1 needs %2=FILE").arg(op, QString::fromStdString(p.name)));
    return args;
}

QString listing()
{
    QString out;
    std::string family;
    for (const Operation &op : operations()) {
        if (op.family != family) {
            family = op.family;
            out += QStringLiteral("\n[%1]\n").arg(QString::fromStdString(family));
        }
        out += QStringLiteral("%1  %2\n").arg(QString::fromStdString(op.name), QString::fromStdString(op.description));
        for (const OperationParam &p : op.params) {
            const QString value = p.required ? QStringLiteral("FILE (required)") : QString::fromStdString(p.fallback);
            out += QStringLiteral("    %1=%2  [%3] %4\n")
                       .arg(QString::fromStdString(p.name), value, kindName(p.kind), QString::fromStdString(p.description));
        }
    }
    return out;
}

// --- output ---------------------------------------------------------------------------------

namespace {

/// Premultiplication as the PNG reading path does it (qPremultiply's rounding).
inline uint32_t premultiplied(uint32_t straight, uint32_t alpha)
{
    const uint32_t t = straight * alpha;
    return (t + (t >> 8) + 0x80) >> 8;
}

/// The straight sample whose premultiplication gives back c at alpha a (c <= a).
inline uint32_t straightSample(uint32_t c, uint32_t a)
{
    const uint32_t guess = std::min<uint32_t>(255, (c * 255 + a / 2) / a);
    for (uint32_t s : {guess, guess - 1, guess + 1, guess - 2, guess + 2})
        if (s <= 255 && premultiplied(s, a) == c)
            return s;
    return guess;
}

} // namespace

QImage straightForPng(const QImage &premultipliedImage, qint64 *clamped)
{
    qint64 lost = 0;
    QImage out(premultipliedImage.size(), QImage::Format_ARGB32);
    if (out.isNull())
        return {};
    for (int y = 0; y < out.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(premultipliedImage.constScanLine(y));
        QRgb *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const uint32_t p = in[x];
            const uint32_t a = p >> 24;
            if (a == 255 || a == 0) {
                // Opaque pixels are already straight; transparent ones carry no colour.
                lost += a == 0 && (p & 0xffffffu) != 0;
                o[x] = a == 0 ? 0 : p;
                continue;
            }
            uint32_t word = a << 24;
            for (int shift : {16, 8, 0}) {
                uint32_t c = (p >> shift) & 0xff;
                if (c > a) {
                    ++lost;
                    c = a;
                }
                word |= straightSample(c, a) << shift;
            }
            o[x] = word;
        }
    }
    if (clamped)
        *clamped = lost;
    return out;
}

bool writeOutput(const Picture &picture, const QString &path, QString *error, qint64 *clamped)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (picture.isNull())
        return fail(QStringLiteral("no picture to write"));
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    if (suffix == "jpg" || suffix == "jpeg") {
        bytes = encodeJpeg(picture, 0.92);
        if (clamped)
            *clamped = 0;
    } else {
        const QImage straight = straightForPng(picture.bitmap(), clamped);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setQuality(100 - (kFastPngCompression * 91 + 8) / 9);
        if (straight.isNull() || !writer.write(straight))
            return fail(QStringLiteral("cannot encode '%1'").arg(path));
    }
    if (bytes.isEmpty() || !writeFileAtomically(path, bytes))
        return fail(QStringLiteral("cannot write '%1'").arg(path));
    return true;
}

} // namespace vimora::fx
