#pragma once
// The error model of the system's code: a failing call throws rt::Error; code
// that runs "resume next" traps it into the process-wide Err object and asks
// its number afterwards.

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace rt {

// Error numbers the stand-ins and the system's code raise.
namespace errc {
inline constexpr int32_t InvalidCall = 5;         // missing collection key, bad argument
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t InternalError = 51;
inline constexpr int32_t BadFileNameOrNumber = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t FileAlreadyExists = 58;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccess = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t InvalidPicture = 481;
inline constexpr int32_t NoSuchMember = 438;
inline constexpr int32_t DuplicateKey = 457;
inline constexpr int32_t CancelSelected = 32755;  // common dialog with CancelError
}  // namespace errc

// The runtime's own sentence for a standard error number ("" when it has none).
QString standardDescription(int32_t number);

class Error : public std::exception {
public:
    // An empty description takes the runtime's standard sentence for the number.
    explicit Error(int32_t number, QString source = {}, QString description = {});

    int32_t number() const noexcept { return m_number; }
    const QString& source() const noexcept { return m_source; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int32_t m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};

[[noreturn]] void raise(int32_t number, const QString& source = {},
                        const QString& description = {});

// The process-wide error state that resume-next code reads.
struct ErrObject {
    int32_t Number = 0;
    QString Source;
    QString Description;

    void Clear();
    void set(const Error& e);
    [[noreturn]] void Raise(int32_t number, const QString& source = {},
                            const QString& description = {}) const;
};

ErrObject& Err();

// Turns whatever a statement threw into an rt::Error (std exceptions included).
Error toError(std::exception_ptr ex);

// "On Error Resume Next" for a sequence of statements: each statement runs on
// its own; a failure is recorded in Err() and the next statement still runs.
//
//     rt::ResumeNext rn;               // clears Err(), like the statement does
//     rn([&] { tool.setName(name); });
//     if (rn.failed()) ...             // Err().Number != 0
class ResumeNext {
public:
    ResumeNext() { Err().Clear(); }

    // Runs one statement; true when it raised no error.
    template <class F>
    bool operator()(F&& statement)
    {
        try {
            statement();
            return true;
        } catch (...) {
            Err().set(toError(std::current_exception()));
            return false;
        }
    }

    int32_t number() const { return Err().Number; }
    bool failed() const { return Err().Number != 0; }
    void clear() const { Err().Clear(); }
};

// One statement under resume-next: returns its error number (0 = none) and
// leaves Err() as the statement left it.
template <class F>
int32_t tryStatement(F&& statement)
{
    Err().Clear();
    try {
        statement();
        return 0;
    } catch (...) {
        Err().set(toError(std::current_exception()));
        return Err().Number;
    }
}

}  // namespace rt
