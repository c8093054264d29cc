#pragma once
// The program's one exception base, carrying a message the user can be shown.
#include <QString>
#include <exception>

// The one base of every failure the program raises: a message the user can be shown.
class Exception : public std::exception {
public:
    explicit Exception(QString message);
    ~Exception() override;

    const QString& Message() const { return message_; }
    const char* what() const noexcept override;

private:
    QString message_;
    QByteArray utf8_;
};

// The message of any failure: our own text, or what() of another exception.
QString MessageOf(const std::exception& error);
