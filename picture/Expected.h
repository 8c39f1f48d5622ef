#pragma once
// A value or the error that kept it from being made. Readers return one, so a failed read
// hands back nothing but its error and no output of the caller is ever half-written.

#include <type_traits>
#include <utility>
#include <variant>

namespace zantrel {

template <typename T, typename E>
class [[nodiscard]] Expected {
    static_assert(!std::is_same_v<T, E>, "a value and an error of one type cannot be told apart");

  public:
    Expected(T value) : m_content(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : m_content(std::in_place_index<1>, std::move(error)) {}

    bool HasValue() const { return m_content.index() == 0; }
    explicit operator bool() const { return HasValue(); }

    // The value; only when HasValue().
    T& operator*() { return std::get<0>(m_content); }
    const T& operator*() const { return std::get<0>(m_content); }
    T* operator->() { return &std::get<0>(m_content); }
    const T* operator->() const { return &std::get<0>(m_content); }

    // The error; only when !HasValue().
    const E& Error() const { return std::get<1>(m_content); }

  private:
    std::variant<T, E> m_content;
};

}  // namespace zantrel
