#include "Library/ParameterList.h"

#include "Library/LongParameter.h"
#include "Library/MakeParameter.h"

#include <memory>
#include <stdexcept>

namespace zelvane {

namespace {

// Fills a command record from the parameter and adds it to the handle.
bool addRecord(GSHandle handle, const Parameter& parameter) {
    API_MDCLParameter record;
    if (!parameter.getParameterData(record)) {
        return false;
    }
    GSErrCode err = ACAPI_Goodies(APIAny_AddMDCLParameterID, handle, &record);
    Parameter::disposeParameterData(record);
    return err == NoError;
}

} // namespace

std::size_t ParameterList::getParameterIndex(const String& name) const {
    String wanted = name.toLowercase();
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        const Parameter* parameter = m_parameters[i];
        if (parameter != nullptr && parameter->getName().toLowercase() == wanted) {
            return i;
        }
    }
    return npos;
}

Parameter* ParameterList::getParameter(const String& name) {
    std::size_t position = getParameterIndex(name);
    return position == npos ? nullptr : m_parameters[position];
}

const Parameter* ParameterList::getParameter(const String& name) const {
    std::size_t position = getParameterIndex(name);
    return position == npos ? nullptr : m_parameters[position];
}

Parameter* ParameterList::getParameter(std::size_t position) {
    return position < m_parameters.size() ? m_parameters[position] : nullptr;
}

const Parameter* ParameterList::getParameter(std::size_t position) const {
    return position < m_parameters.size() ? m_parameters[position] : nullptr;
}

Parameter* ParameterList::operator[](std::size_t position) const {
    if (position >= m_parameters.size()) {
        throw std::out_of_range("");
    }
    return m_parameters[position];
}

void ParameterList::deleteParameter(std::size_t position) {
    if (position < m_parameters.size()) {
        m_parameters.erase(m_parameters.begin() + std::ptrdiff_t(position));
    }
}

void ParameterList::deleteAllParameters() {
    m_parameters.clear();
}

void ParameterList::setParameter(Parameter* parameter, std::size_t position) {
    if (position >= m_parameters.size()) {
        m_parameters.push_back(parameter);
        return;
    }
    std::unique_ptr<Parameter> old(m_parameters[position]);
    m_parameters[position] = parameter;
}

void ParameterList::insertParameter(Parameter* parameter, std::size_t position) {
    if (position >= m_parameters.size()) {
        m_parameters.push_back(parameter);
    } else {
        m_parameters.insert(m_parameters.begin() + std::ptrdiff_t(position), parameter);
    }
}

void ParameterList::addParameter(Parameter* parameter) {
    m_parameters.push_back(parameter);
}

void ParameterList::setDefault() {
    clear();
}

void ParameterList::clear() {
    for (Parameter* parameter : m_parameters) {
        if (parameter != nullptr) {
            parameter->clear();
        }
    }
}

bool ParameterList::unpackParameter(GSHandle commandParameters) {
    deleteAllParameters();
    if (commandParameters == nullptr) {
        return true;
    }
    Int32 count = 0;
    if (ACAPI_Goodies(APIAny_GetMDCLParameterNumID, commandParameters, &count) != NoError) {
        return false;
    }
    for (Int32 index = count; index >= 1; --index) {
        API_MDCLParameter record;
        record.index = index;
        if (ACAPI_Goodies(APIAny_GetMDCLParameterID, commandParameters, &record) != NoError) {
            continue;
        }
        Parameter* parameter = MakeParameter()(record);
        if (parameter == nullptr) {
            deleteAllParameters();
            return false;
        }
        addParameter(parameter);
    }
    return true;
}

bool ParameterList::packParameter(GSHandle& commandParameters, bool initialise, UInt32 commandID,
                                  Int32 version) const {
    auto release = [&commandParameters] {
        ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &commandParameters);
        commandParameters = nullptr;
    };
    bool done = !initialise || ACAPI_Goodies(APIAny_InitMDCLParameterListID, &commandParameters) == NoError;
    try {
        for (std::size_t i = 0; done && i < m_parameters.size(); ++i) {
            done = m_parameters[i] != nullptr && addRecord(commandParameters, *m_parameters[i]);
        }
        if (done && commandID != 0) {
            done = addRecord(commandParameters, LongParameter("command_id", "", Int32(commandID))) &&
                   addRecord(commandParameters, LongParameter("command_version", "", version));
        }
    } catch (...) {
        // Out of memory for a record's texts: the half-filled list goes too.
        release();
        throw;
    }
    if (!done) {
        release();
    }
    return done;
}

} // namespace zelvane
