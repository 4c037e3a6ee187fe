// The HID report descriptor parser, over descriptors as a device or sysfs may hand them over.

#include <cstdlib>
#include <span>

#include "transport/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ravelfin::ReportDescriptor descriptor;
    descriptor.Parse(std::span(data, size));
    // A feature report is counted in whole bytes plus its id byte.
    const std::size_t length = descriptor.FeatureReportLength();
    ravelfin::ReportDescriptor again;
    again.Parse(std::span(data, size));
    if (again.FeatureReportLength() != length)
        std::abort();
    return 0;
}
