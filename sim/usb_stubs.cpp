// The rest of the libusb 0.1 interface: calls the library does not make.
// Those that would need hardware answer -ENOSYS; harmless ones succeed.
#include "transport/models.h"

#include <cerrno>
#include <cstring>

#include "usb_error.h"

extern "C" {

void usb_set_debug(int) {}

int usb_get_string(usb_dev_handle *h, int index, int langid, char *buf, size_t buflen) {
    if (!buf || buflen < 2) return vsim::set_error(-EINVAL, "invalid argument");
    unsigned char *out = reinterpret_cast<unsigned char *>(buf);
    if (index == 0) {  // the language table: US English only
        const unsigned char table[4] = {4, USB_DT_STRING, 0x09, 0x04};
        std::size_t n = buflen < sizeof table ? buflen : sizeof table;
        std::memcpy(out, table, n);
        return static_cast<int>(n);
    }
    char text[127];
    int len = usb_get_string_simple(h, index, text, sizeof text);
    if (len < 0) return len;
    std::size_t total = 2 + 2 * static_cast<std::size_t>(len);
    if (total > buflen) total = buflen & ~static_cast<std::size_t>(1);
    out[0] = static_cast<unsigned char>(2 + 2 * len);
    out[1] = USB_DT_STRING;
    for (std::size_t i = 2; i + 1 < total; i += 2) {
        out[i] = static_cast<unsigned char>(text[(i - 2) / 2]);
        out[i + 1] = 0;
    }
    return static_cast<int>(total);
}

int usb_get_descriptor_by_endpoint(usb_dev_handle *, int, unsigned char, unsigned char, void *,
                                   int) {
    return vsim::set_error(-ENOSYS, "error sending control message");
}

int usb_get_descriptor(usb_dev_handle *, unsigned char, unsigned char, void *, int) {
    return vsim::set_error(-ENOSYS, "error sending control message");
}

int usb_interrupt_write(usb_dev_handle *, int, const char *, int, int) {
    return vsim::set_error(-ENOSYS, "error writing to interrupt endpoint");
}

int usb_interrupt_read(usb_dev_handle *, int, char *, int, int) {
    return vsim::set_error(-ENOSYS, "error reading from interrupt endpoint");
}

int usb_control_msg(usb_dev_handle *, int, int, int, int, char *, int, int) {
    return vsim::set_error(-ENOSYS, "error sending control message");
}

int usb_set_altinterface(usb_dev_handle *, int alternate) {
    return alternate == 0 ? 0 : vsim::set_error(-EINVAL, "could not set alt intf");
}

int usb_resetep(usb_dev_handle *, unsigned int) { return 0; }
int usb_clear_halt(usb_dev_handle *, unsigned int) { return 0; }
int usb_reset(usb_dev_handle *) { return 0; }

int usb_get_driver_np(usb_dev_handle *, int, char *name, unsigned int namelen) {
    if (name && namelen) name[0] = '\0';
    return vsim::set_error(-ENODATA, "could not get bound driver");
}

int usb_detach_kernel_driver_np(usb_dev_handle *, int) {
    return vsim::set_error(-ENODATA, "could not detach kernel driver from interface");
}

}  // extern "C"
