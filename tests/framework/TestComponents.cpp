#include "TestComponents.h"

#include "PropertyWriter.h"

void Probe::writeProperties(PropertyWriter& writer) const {
    if (number != 0)
        writer.write("Number", FormValue::fromInt(number));
    Component::writeProperties(writer);
    writer.write("Data", FormValue::fromBinary(data));
}
