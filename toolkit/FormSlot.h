#pragma once

#include "toolkit/Form.h"

#include <memory>

namespace toolkit {

// The one instance of a form, reached by name and made at its first use: any access through
// the slot creates the form if it does not exist and runs its onLoad. The slot holds the form
// before onLoad runs, so a use of the form from inside its own onLoad finds it.
template <class T> class FormSlot {
public:
    T& operator*() { return get(); }
    T* operator->() { return &get(); }

    T& get()
    {
        if (!m_form) {
            m_form = new T();
            m_form->setReleaser([this] { release(); });
            m_form->raiseLoad();
        }
        return *m_form;
    }

    bool exists() const { return m_form != nullptr; }

    // Unloads the form if it exists.
    void unload()
    {
        if (m_form)
            m_form->unload();
    }

private:
    void release()
    {
        Form::retire(std::unique_ptr<Form>(m_form));
        m_form = nullptr;
    }

    T* m_form = nullptr;
};

} // namespace toolkit
