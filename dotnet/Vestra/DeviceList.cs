using System;
using System.Collections.Concurrent;
using System.Collections.Generic;
using System.Threading;
using System.Threading.Tasks;
using Vestra.Native;

namespace Vestra
{
    /// <summary>One recorder of the device list.</summary>
    /// <param name="Index">The list slot (for <see cref="Recorder.FromList"/>).</param>
    /// <param name="Serial">The serial text.</param>
    /// <param name="IdCode">The ID code text.</param>
    /// <param name="DevNum">The USB device number.</param>
    /// <param name="UdiskStatus">The U-disk status.</param>
    /// <param name="VendorId">The USB vendor id.</param>
    /// <param name="ProductId">The USB product id.</param>
    public sealed record Device(int Index, string Serial, string IdCode, int DevNum, int UdiskStatus, int VendorId,
                                int ProductId);

    /// <summary>The device list's change: how many recorders it holds now.</summary>
    public sealed class DeviceListChangedEventArgs : EventArgs
    {
        internal DeviceListChangedEventArgs(int count) => Count = count;

        /// <summary>Recorders in the list after the change.</summary>
        public int Count { get; }
    }

    /// <summary>
    /// The library's device list and its hot-plug events. The first use starts
    /// the library's monitor and refresh threads, which run until the process
    /// ends.
    /// </summary>
    /// <remarks>
    /// The library calls its callback on its refresh thread, sometimes holding
    /// its lock. The binding's callback only queues the event; the events of
    /// this class are raised on a thread of the binding ("Vestra device
    /// events"), where calling the library is safe. The callback delegate is
    /// held for the life of the process, so no collection can take it.
    /// </remarks>
    public static class DeviceList
    {
        private const int KindChanged = 1, KindEvent = 2, ValueArrival = 1;

        private static readonly object Gate = new object();
        private static readonly BlockingCollection<(int Kind, int Value)> Queue = new BlockingCollection<(int, int)>();
        private static DevListCallback? callback;  // referenced for as long as the library may call it
        private static volatile bool exiting;
        private static long changes;
        private static int count;

        /// <summary>The list changed; raised on the binding's event thread.</summary>
        public static event EventHandler<DeviceListChangedEventArgs>? Changed;

        /// <summary>A refresh after a USB arrival ran; raised on the binding's event thread.</summary>
        public static event EventHandler? Arrived;

        /// <summary>A refresh after a USB removal (or the first refresh) ran; raised on the binding's event thread.</summary>
        public static event EventHandler? Removed;

        /// <summary>Starts the library's monitor and refresh threads, once per process.</summary>
        public static void Start()
        {
            lock (Gate)
            {
                if (callback != null)
                    return;
                callback = OnListEvent;
                var thread = new Thread(Dispatch) { IsBackground = true, Name = "Vestra device events" };
                thread.Start();
                // The library's threads outlive the runtime: holding the list
                // section keeps its refreshes (and so its callbacks) from
                // running into a runtime that is shutting down.
                AppDomain.CurrentDomain.ProcessExit += (sender, args) =>
                {
                    exiting = true;
                    NativeMethods.VX_ListEnterCriticalSection();
                };
            }
            NativeMethods.VX_InitDevListPthreadEx(callback);
        }

        /// <summary>The recorders in the list now (starting the monitor if needed).</summary>
        public static IReadOnlyList<Device> Devices
        {
            get
            {
                Start();
                var slots = new DevListInfo[Constants.VX_LIST_SLOTS];
                var filled = (int)NativeMethods.VX_GetDevAllListInfoFromList(slots, slots.Length);
                var devices = new List<Device>(filled);
                for (var i = 0; i < filled && i < slots.Length; ++i)
                {
                    var s = slots[i];
                    devices.Add(new Device(s.index, AnsiText.Decode(s.serial), AnsiText.Decode(s.idCode), s.devNum,
                                           s.udiskStatus, s.busVendorId, s.busProductId));
                }
                return devices;
            }
        }

        /// <summary>Scans the bus once now instead of waiting for the next refresh.</summary>
        /// <returns>True when a slot was closed or filled.</returns>
        public static bool Update()
        {
            Start();
            return NativeMethods.VX_InitDevList() != 0;
        }

        /// <summary>Waits for the next change of the list after the call.</summary>
        /// <param name="timeout">How long to wait.</param>
        /// <returns>The number of recorders after the change; null when none came in time.</returns>
        public static int? WaitForChange(TimeSpan timeout)
        {
            Start();
            var deadline = DateTime.UtcNow + timeout;
            lock (Gate)
            {
                var seen = changes;
                while (changes == seen)
                {
                    var left = deadline - DateTime.UtcNow;
                    if (left <= TimeSpan.Zero || !Monitor.Wait(Gate, left))
                        return null;
                }
                return count;
            }
        }

        /// <summary>The next change of the list after the call, as a task.</summary>
        /// <param name="timeout">How long to wait.</param>
        /// <param name="cancellation">Cancels the wait.</param>
        /// <returns>The number of recorders after the change; null when none came in time.</returns>
        public static Task<int?> WaitForChangeAsync(TimeSpan timeout, CancellationToken cancellation = default)
        {
            Start();
            var done = new TaskCompletionSource<int?>(TaskCreationOptions.RunContinuationsAsynchronously);
            EventHandler<DeviceListChangedEventArgs> handler = (sender, args) => done.TrySetResult(args.Count);
            Changed += handler;
            var timer = new CancellationTokenSource(timeout);
            var linked = CancellationTokenSource.CreateLinkedTokenSource(timer.Token, cancellation);
            linked.Token.Register(() =>
            {
                if (cancellation.IsCancellationRequested)
                    done.TrySetCanceled(cancellation);
                else
                    done.TrySetResult(null);
            });
            done.Task.ContinueWith(_ =>
            {
                Changed -= handler;
                linked.Dispose();
                timer.Dispose();
            }, TaskScheduler.Default);
            return done.Task;
        }

        // On the library's refresh thread, possibly under its lock: queue only.
        private static void OnListEvent(int kind, int value)
        {
            if (!exiting)
                Queue.Add((kind, value));
        }

        private static void Dispatch()
        {
            foreach (var (kind, value) in Queue.GetConsumingEnumerable())
            {
                try
                {
                    Raise(kind, value);
                }
                catch (Exception error)
                {
                    // A host handler's exception must not end the event thread.
                    System.Diagnostics.Trace.TraceError($"Vestra: a device-list handler failed: {error}");
                }
            }
        }

        private static void Raise(int kind, int value)
        {
            if (kind == KindChanged)
            {
                lock (Gate)
                {
                    count = value;
                    ++changes;
                    Monitor.PulseAll(Gate);
                }
                Changed?.Invoke(null, new DeviceListChangedEventArgs(value));
            }
            else if (kind == KindEvent)
            {
                (value == ValueArrival ? Arrived : Removed)?.Invoke(null, EventArgs.Empty);
            }
        }
    }
}
