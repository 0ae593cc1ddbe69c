#include "platform/runtime/Error.h"

#include <new>

namespace rt {

QString standardDescription(int32_t number)
{
    switch (number) {
    case 3: return QStringLiteral("Return without GoSub");
    case 5: return QStringLiteral("Invalid procedure call or argument");
    case 6: return QStringLiteral("Overflow");
    case 7: return QStringLiteral("Out of memory");
    case 9: return QStringLiteral("Subscript out of range");
    case 11: return QStringLiteral("Division by zero");
    case 13: return QStringLiteral("Type mismatch");
    case 51: return QStringLiteral("Internal error");
    case 52: return QStringLiteral("Bad file name or number");
    case 53: return QStringLiteral("File not found");
    case 55: return QStringLiteral("File already open");
    case 57: return QStringLiteral("Device I/O error");
    case 58: return QStringLiteral("File already exists");
    case 61: return QStringLiteral("Disk full");
    case 62: return QStringLiteral("Input past end of file");
    case 70: return QStringLiteral("Permission denied");
    case 75: return QStringLiteral("Path/File access error");
    case 76: return QStringLiteral("Path not found");
    case 91: return QStringLiteral("Object variable or With block variable not set");
    case 94: return QStringLiteral("Invalid use of Null");
    case 380: return QStringLiteral("Invalid property value");
    case 424: return QStringLiteral("Object required");
    case 438: return QStringLiteral("Object doesn't support this property or method");
    case 440: return QStringLiteral("Automation error");
    case 457:
        return QStringLiteral("This key is already associated with an element of this collection");
    case 481: return QStringLiteral("Invalid picture");
    case 32755: return QStringLiteral("Cancel was selected.");
    default: return {};
    }
}

Error::Error(int32_t number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description))
{
    if (m_description.isEmpty()) {
        m_description = standardDescription(number);
        if (m_description.isEmpty())
            m_description = QStringLiteral("Application-defined or object-defined error");
    }
    m_what = QStringLiteral("%1 (%2)").arg(m_description).arg(m_number).toStdString();
}

void raise(int32_t number, const QString& source, const QString& description)
{
    throw Error(number, source, description);
}

void ErrObject::Clear()
{
    Number = 0;
    Source.clear();
    Description.clear();
}

void ErrObject::set(const Error& e)
{
    Number = e.number();
    Source = e.source();
    Description = e.description();
}

void ErrObject::Raise(int32_t number, const QString& source, const QString& description) const
{
    throw Error(number, source, description);
}

ErrObject& Err()
{
    static ErrObject err;
    return err;
}

Error toError(std::exception_ptr ex)
{
    try {
        std::rethrow_exception(ex);
    } catch (const Error& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return Error(errc::OutOfMemory);
    } catch (const std::exception& e) {
        return Error(errc::InternalError, {}, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return Error(errc::InternalError);
    }
}

}  // namespace rt
