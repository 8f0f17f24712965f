// A station's console host: the device list, its changes, a recorder's name,
// and decryption.
//   Station list
//   Station watch CHANGES                  (stops after CHANGES list changes)
//   Station name MODEL PASSWORD [NEW-NAME]
//   Station decrypt IN OUT KEY
using System;
using System.Threading;
using Vestra;

static int Usage()
{
    Console.Error.WriteLine("usage: Station list | watch CHANGES | name MODEL PASSWORD [NEW-NAME] | decrypt IN OUT KEY");
    return 2;
}

try
{
    switch (args.Length > 0 ? args[0] : "")
    {
        case "list":
            DeviceList.Update();
            foreach (var device in DeviceList.Devices)
                Console.WriteLine($"[{device.Index}] {device.IdCode} serial {device.Serial} u-disk {device.UdiskStatus}");
            return 0;
        case "watch" when args.Length == 2:
            // The events come on a thread of the binding, never the library's.
            using (var changes = new SemaphoreSlim(0))
            {
                DeviceList.Changed += (_, e) =>
                {
                    Console.WriteLine($"list changed: {e.Count} recorder(s)");
                    changes.Release();
                };
                DeviceList.Arrived += (_, _) => Console.WriteLine("device event: arrival");
                DeviceList.Removed += (_, _) => Console.WriteLine("device event: removal");
                DeviceList.Start();
                for (var seen = 0; seen < int.Parse(args[1]); ++seen)
                    if (!changes.Wait(TimeSpan.FromSeconds(60)))
                        return 1;
            }
            return 0;
        case "name" when args.Length >= 3:
            using (var rec = Recorder.Open(args[1], args[2]))
            {
                Console.WriteLine($"name: {rec.DevName}");
                if (args.Length > 3)
                {
                    rec.DevName = args[3];
                    Console.WriteLine($"name: {rec.DevName}");
                }
            }
            return 0;
        case "decrypt" when args.Length == 4:
            Recording.Decrypt(args[1], args[2], args[3]);
            Console.WriteLine($"decrypted: {args[2]}");
            return 0;
        default:
            return Usage();
    }
}
catch (VestraException error)
{
    Console.Error.WriteLine($"{error.Operation}: status {error.Status}: {error.Text}");
    return 1;
}
