#pragma once

#include <stdexcept>
#include <string>

namespace fw {

// Every failure the framework raises derives from RuntimeException, so one
// handler at the dispatch boundary takes them all.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& what) : std::runtime_error(what) { }
    virtual const char* className() const { return "RuntimeException"; }
};

// Something needed an object and found none (a control or menu item that is not there).
class NilObjectException : public RuntimeException {
public:
    explicit NilObjectException(const std::string& what) : RuntimeException(what) { }
    const char* className() const override { return "NilObjectException"; }
};

// A checked cast met an object of another class.
class IllegalCastException : public RuntimeException {
public:
    explicit IllegalCastException(const std::string& what) : RuntimeException(what) { }
    const char* className() const override { return "IllegalCastException"; }
};

} // namespace fw
