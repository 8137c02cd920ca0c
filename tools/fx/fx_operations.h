#pragma once

// The operations the command-line runner offers: every filter and blend of the image service
// under its name and parameter keys, the catalogue's byte effects, and the tone, convolution
// and geometry functions under their function names. One table drives running, listing and
// argument checking.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTransform>

#include "imaging/picture.h"

namespace vimora::fx {

enum class ValueKind { Number, Integer, Point, Size, Rectangle, Transform, Numbers, Picture };

/// "number", "point x,y", ... for messages and the listing.
QString kindName(ValueKind kind);

using Value = std::variant<double, long long, QPointF, QSizeF, QRectF, QTransform, std::vector<double>, Picture>;

struct OperationParam
{
    std::string name;
    ValueKind kind = ValueKind::Number;
    std::string fallback; ///< the default as text, for the listing
    bool required = false;
    std::string description;
};

/// The values given on the command line (defaults are the operation's own).
class Arguments
{
public:
    bool has(const std::string &name) const { return m_values.count(name) != 0; }
    const Value *find(const std::string &name) const;
    void set(const std::string &name, Value value) { m_values[name] = std::move(value); }
    const std::map<std::string, Value> &values() const { return m_values; }

    double number(const std::string &name, double fallback) const;
    long long integer(const std::string &name, long long fallback) const;
    QPointF point(const std::string &name, QPointF fallback) const;
    QSizeF size(const std::string &name, QSizeF fallback) const;
    std::vector<double> numbers(const std::string &name) const;
    Picture picture(const std::string &name) const;

private:
    std::map<std::string, Value> m_values;
};

struct Operation
{
    std::string name;
    std::string family; ///< "filter", "blend", "byte effect", "tone", "convolution", "geometry"
    std::string description;
    std::vector<OperationParam> params;
    std::function<Picture(const Picture &, const Arguments &)> run;

    const OperationParam *param(const std::string &key) const;
};

/// Every operation, in listing order.
const std::vector<Operation> &operations();
const Operation *findOperation(const std::string &name);

/// Operations of the tone, convolution and geometry functions and the smart cut
/// (fx_library_operations.cpp).
std::vector<Operation> libraryOperations();

/// Parses one value; pictures are read from the file named by the text.
std::optional<Value> parseValue(ValueKind kind, const QString &text, QString *error);

/// Parses "name=value" words for an operation; a single bare word names the operation's one
/// extra picture (the second input of a blend). Checks that required values are present.
std::optional<Arguments> parseArguments(const Operation &operation, const QStringList &words, QString *error);

/// The operation listing printed by --list.
QString listing();

/// Straight RGBA whose premultiplication (as the PNG reader does it) gives back exactly the
/// picture's stored bytes. Colour samples above their alpha cannot be kept: they are clamped and
/// counted in *clamped.
QImage straightForPng(const QImage &premultiplied, qint64 *clamped);

/// Writes PNG (or JPEG for .jpg/.jpeg names, alpha lost); false with a message on failure.
bool writeOutput(const Picture &picture, const QString &path, QString *error, qint64 *clamped);

} // namespace vimora::fx
