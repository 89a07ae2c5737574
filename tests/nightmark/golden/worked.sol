{
    "defaultListOlud": "",
    "shortName": "Observing list for Stellarium",
    "version": "2.1",
    "observingLists": {
        "{d05eee78-6a33-5a05-844f-6ccbaceadc08}": {
            "name": "EB minima 2006-03-05",
            "description": "Minima of eclipsing binaries in the night of 2006-03-05, observing from 20:00 JST",
            "creation date": "2026-12-08 21:00:00",
            "last edit": "2026-12-08 21:00:00",
            "sorting": "",
            "objects": [
                {
                    "designation": "ZZ Ori",
                    "name": "ZZ Ori",
                    "nameI18n": "ZZ Ori",
                    "type": "Star",
                    "objtype": "EA",
                    "ra": "5h36m00.00s",
                    "dec": "+12d34m00.0s",
                    "magnitude": "10.2",
                    "constellation": "Ori",
                    "jd": 2453800.0208,
                    "location": "",
                    "landscapeID": "",
                    "fov": 0,
                    "isVisibleMarker": true
                },
                {
                    "designation": "ASASJ091012-0507.2",
                    "name": "ASASJ091012-0507.2",
                    "nameI18n": "ASASJ091012-0507.2",
                    "type": "Star",
                    "objtype": "EA",
                    "ra": "9h10m00.00s",
                    "dec": "-5d07m00.0s",
                    "magnitude": "11.0",
                    "constellation": "",
                    "jd": 2453800.0417,
                    "location": "",
                    "landscapeID": "",
                    "fov": 0,
                    "isVisibleMarker": true
                },
                {
                    "designation": "WW Gem",
                    "name": "WW Gem",
                    "nameI18n": "WW Gem",
                    "type": "Star",
                    "objtype": "EB",
                    "ra": "6h50m00.00s",
                    "dec": "+20d10m00.0s",
                    "magnitude": "9.8",
                    "constellation": "Gem",
                    "jd": 2453799.9792,
                    "location": "",
                    "landscapeID": "",
                    "fov": 0,
                    "isVisibleMarker": true
                },
                {
                    "designation": "UU Lib",
                    "name": "UU Lib",
                    "nameI18n": "UU Lib",
                    "type": "Star",
                    "objtype": "EA",
                    "ra": "15h20m00.00s",
                    "dec": "-20d30m00.0s",
                    "magnitude": "10.5",
                    "constellation": "Lib",
                    "jd": 2453800.2167,
                    "location": "",
                    "landscapeID": "",
                    "fov": 0,
                    "isVisibleMarker": true
                }
            ]
        }
    }
}
