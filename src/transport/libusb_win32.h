// The libusb 0.1 interface as libusb-win32 declares it for its libusb0.dll:
// byte-packed structures, path buffers of 512 bytes, cdecl functions. Only
// transport/models.h includes this (on Windows, in place of <usb.h>). The
// layout checks below hold its documented offsets, 64-bit and 32-bit.
#pragma once

#include <cstddef>

#define LIBUSB_PATH_MAX 512

#define USB_CLASS_VENDOR_SPEC 0xff

#define USB_DT_DEVICE 0x01
#define USB_DT_CONFIG 0x02
#define USB_DT_STRING 0x03
#define USB_DT_INTERFACE 0x04
#define USB_DT_ENDPOINT 0x05

#define USB_DT_DEVICE_SIZE 18
#define USB_DT_CONFIG_SIZE 9
#define USB_DT_INTERFACE_SIZE 9
#define USB_DT_ENDPOINT_SIZE 7

#define USB_ENDPOINT_TYPE_BULK 2
#define USB_ENDPOINT_IN 0x80
#define USB_ENDPOINT_OUT 0x00

#pragma pack(push, 1)

struct usb_endpoint_descriptor {
    unsigned char bLength;
    unsigned char bDescriptorType;
    unsigned char bEndpointAddress;
    unsigned char bmAttributes;
    unsigned short wMaxPacketSize;
    unsigned char bInterval;
    unsigned char bRefresh;
    unsigned char bSynchAddress;
    unsigned char *extra;
    int extralen;
};

struct usb_interface_descriptor {
    unsigned char bLength;
    unsigned char bDescriptorType;
    unsigned char bInterfaceNumber;
    unsigned char bAlternateSetting;
    unsigned char bNumEndpoints;
    unsigned char bInterfaceClass;
    unsigned char bInterfaceSubClass;
    unsigned char bInterfaceProtocol;
    unsigned char iInterface;
    struct usb_endpoint_descriptor *endpoint;
    unsigned char *extra;
    int extralen;
};

struct usb_interface {
    struct usb_interface_descriptor *altsetting;
    int num_altsetting;
};

struct usb_config_descriptor {
    unsigned char bLength;
    unsigned char bDescriptorType;
    unsigned short wTotalLength;
    unsigned char bNumInterfaces;
    unsigned char bConfigurationValue;
    unsigned char iConfiguration;
    unsigned char bmAttributes;
    unsigned char MaxPower;
    struct usb_interface *interface;
    unsigned char *extra;
    int extralen;
};

struct usb_device_descriptor {
    unsigned char bLength;
    unsigned char bDescriptorType;
    unsigned short bcdUSB;
    unsigned char bDeviceClass;
    unsigned char bDeviceSubClass;
    unsigned char bDeviceProtocol;
    unsigned char bMaxPacketSize0;
    unsigned short idVendor;
    unsigned short idProduct;
    unsigned short bcdDevice;
    unsigned char iManufacturer;
    unsigned char iProduct;
    unsigned char iSerialNumber;
    unsigned char bNumConfigurations;
};

struct usb_bus;

struct usb_device {
    struct usb_device *next, *prev;
    char filename[LIBUSB_PATH_MAX];
    struct usb_bus *bus;
    struct usb_device_descriptor descriptor;
    struct usb_config_descriptor *config;
    void *dev;
    unsigned char devnum;
    unsigned char num_children;
    struct usb_device **children;
};

struct usb_bus {
    struct usb_bus *next, *prev;
    char dirname[LIBUSB_PATH_MAX];
    struct usb_device *devices;
    unsigned long location;  // 32 bits on Windows, 64-bit included
    struct usb_device *root_dev;
};

#pragma pack(pop)

struct usb_dev_handle;
typedef struct usb_dev_handle usb_dev_handle;

// The write calls take char * in libusb-win32's header; const here, as in
// libusb-compat's, with the same calling convention and ABI.
extern "C" {
void usb_init(void);
void usb_set_debug(int level);
int usb_find_busses(void);
int usb_find_devices(void);
struct usb_bus *usb_get_busses(void);
usb_dev_handle *usb_open(struct usb_device *dev);
int usb_close(usb_dev_handle *dev);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"  // the function is named after the struct
struct usb_device *usb_device(usb_dev_handle *dev);
#pragma GCC diagnostic pop
int usb_set_configuration(usb_dev_handle *dev, int configuration);
int usb_claim_interface(usb_dev_handle *dev, int interface);
int usb_release_interface(usb_dev_handle *dev, int interface);
int usb_set_altinterface(usb_dev_handle *dev, int alternate);
int usb_resetep(usb_dev_handle *dev, unsigned int ep);
int usb_clear_halt(usb_dev_handle *dev, unsigned int ep);
int usb_reset(usb_dev_handle *dev);
int usb_bulk_write(usb_dev_handle *dev, int ep, const char *bytes, int size, int timeout);
int usb_bulk_read(usb_dev_handle *dev, int ep, char *bytes, int size, int timeout);
int usb_interrupt_write(usb_dev_handle *dev, int ep, const char *bytes, int size, int timeout);
int usb_interrupt_read(usb_dev_handle *dev, int ep, char *bytes, int size, int timeout);
int usb_control_msg(usb_dev_handle *dev, int requesttype, int request, int value, int index,
                    char *bytes, int size, int timeout);
int usb_get_string(usb_dev_handle *dev, int index, int langid, char *buf, size_t buflen);
int usb_get_string_simple(usb_dev_handle *dev, int index, char *buf, size_t buflen);
int usb_get_descriptor(usb_dev_handle *udev, unsigned char type, unsigned char index, void *buf,
                       int size);
int usb_get_descriptor_by_endpoint(usb_dev_handle *udev, int ep, unsigned char type,
                                   unsigned char index, void *buf, int size);
char *usb_strerror(void);
}

// The layout libusb0.dll was built with. A mismatch here would make the bus
// walk read device numbers and ids from the wrong bytes.
namespace vx::usb_layout {
constexpr std::size_t P = sizeof(void *);
static_assert(sizeof(usb_device_descriptor) == 18, "device descriptor is 18 packed bytes");
static_assert(offsetof(usb_device_descriptor, idVendor) == 8 &&
                  offsetof(usb_device_descriptor, idProduct) == 10 &&
                  offsetof(usb_device_descriptor, iSerialNumber) == 16,
              "device descriptor fields");
static_assert(sizeof(unsigned long) == 4, "LLP64: unsigned long is 32 bits");
static_assert(offsetof(struct usb_device, filename) == 2 * P, "usb_device.filename");
static_assert(offsetof(struct usb_device, bus) == 2 * P + 512, "usb_device.bus");
static_assert(offsetof(struct usb_device, descriptor) == 3 * P + 512, "usb_device.descriptor");
static_assert(offsetof(struct usb_device, config) == 3 * P + 530, "usb_device.config");
static_assert(offsetof(struct usb_device, devnum) == 5 * P + 530, "usb_device.devnum");
static_assert(offsetof(struct usb_device, num_children) == 5 * P + 531, "usb_device.num_children");
static_assert(sizeof(struct usb_device) == 6 * P + 532, "usb_device: 580 bytes on x64, 556 on x86");
static_assert(offsetof(usb_bus, dirname) == 2 * P, "usb_bus.dirname");
static_assert(offsetof(usb_bus, devices) == 2 * P + 512, "usb_bus.devices");
static_assert(offsetof(usb_bus, location) == 3 * P + 512, "usb_bus.location");
static_assert(sizeof(usb_bus) == 4 * P + 516, "usb_bus: 548 bytes on x64, 532 on x86");
static_assert(sizeof(usb_endpoint_descriptor) == 13 + P, "endpoint descriptor");
static_assert(sizeof(usb_interface_descriptor) == 13 + 2 * P, "interface descriptor");
static_assert(sizeof(usb_config_descriptor) == 13 + 2 * P, "configuration descriptor");
}  // namespace vx::usb_layout
