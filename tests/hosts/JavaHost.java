// A Java host through JNA against the virtual recorders, with the monitor
// and refresh thread running and a device operation in a loop on a thread of
// its own. The library's file is the system property vestra.library.
//   java JavaHost work    kExceptions caught NullPointerExceptions, forced
//                         collections and hot loops that reach safepoints;
//                         exits 0
//   java JavaHost crash   a write through a null pointer in native code
// The log and crash reports go to the working directory.
import com.sun.jna.Library;
import com.sun.jna.Native;
import com.sun.jna.Pointer;
import java.util.concurrent.atomic.AtomicLong;

public class JavaHost {
    public interface Vestra extends Library {
        void VX_SetLibLogDir(String dir);
        void VX_InitDevListPthreadEx(Pointer callback);
        int VX_GetDevListSum();
        int VX_InitDevList();
        Pointer VX_GetDevHandleFromList(int index);
        int VX_GetDevName(Pointer dev, String pwd, byte[] name);
    }

    public interface C extends Library {
        Pointer memset(Pointer dest, int c, long n);
    }

    static final int kExceptions = 100000;
    static volatile boolean done;
    static final AtomicLong namesRead = new AtomicLong();

    static class Box {
        int value;
    }

    static int touch(Box box, int i) {
        box.value = i;  // a null box: the JVM's own SIGSEGV becomes the exception
        return box.value;
    }

    public static void main(String[] args) throws Exception {
        Vestra lib = Native.load(System.getProperty("vestra.library"), Vestra.class);
        try {
            lib.VX_SetLibLogDir(System.getProperty("user.dir"));
        } catch (UnsatisfiedLinkError before) {
            // A library from before the export: still run, to show what it does.
        }
        lib.VX_InitDevListPthreadEx(null);
        while (lib.VX_GetDevListSum() < 2) Thread.sleep(10);
        Thread loop = new Thread(() -> {
            for (long i = 0; !done; ++i) {
                byte[] name = new byte[1024];
                Pointer dev = lib.VX_GetDevHandleFromList(0);
                if (dev != null && lib.VX_GetDevName(dev, "888888", name) == 1)
                    namesRead.incrementAndGet();
                if (i % 50 == 0) lib.VX_InitDevList();
            }
        });
        loop.start();
        if (args.length > 0 && args[0].equals("crash")) {
            Thread.sleep(200);
            Native.load("c", C.class).memset(null, 1, 4);
            System.exit(3);  // not reached
        }
        Box box = null;
        int caught = 0;
        long sum = 0;
        for (int i = 0; i < kExceptions; ++i) {
            try {
                sum += touch(box, i);
            } catch (NullPointerException expected) {
                ++caught;
            }
            for (int j = 0; j < 200; ++j) sum += j ^ i;  // a counted loop: safepoint polls
            if (i % 100 == 0) System.gc();
        }
        done = true;
        loop.join();
        System.out.println("caught " + caught + " NullPointerExceptions; " + namesRead.get()
                           + " device names read (" + sum + ")");
        System.exit(caught == kExceptions && namesRead.get() > 0 ? 0 : 4);
    }
}
